#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "backup/left_out_folders.h"
#include "core/failure.h"

namespace ruror {

// What the data-centre stages found.
struct DataCentreFindings {
    // Files not copied or not saved, each with its reason.
    std::vector<Failure> failures;
    // Files kept in the tree that differ from Quvetra's, by name in the tree.
    std::vector<std::string> outdated;
    // The failure that showed the destination gone (a stick pulled out):
    // from then on the stages stop, and the documents not copied are
    // counted, not told one by one.
    std::optional<Failure> destinationGone;
    std::size_t notCopiedSinceGone = 0;
    // The links met where documents were listed, by name in the tree.
    std::vector<std::string> links;
    // The documents copied, read back whole and given their names.
    std::size_t copied = 0;
};

// What a backup did.
struct BackupResult {
    // Why the database could not be copied; then nothing else was done.
    Outcome databaseFailure;
    DataCentreFindings dataCentre;
    // The data centre's folders that the fixed layout leaves out, then the
    // links it holds.
    std::vector<LeftOut> leftOut;
    // Stopped on request before the end: where the database copy was not
    // finished, no backup file was written, and an earlier one is as it was;
    // what the data centre stages placed before stays.
    bool stopped = false;
    bool databaseCopied = false;

    // Whether everything asked for was copied and read back whole.
    bool complete() const {
        return !stopped && !databaseFailure && dataCentre.failures.empty() && !dataCentre.destinationGone;
    }
};

}  // namespace ruror
