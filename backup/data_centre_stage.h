#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/window_ops.h"

namespace ruror {

// One stage of the data centre: a folder of Quvetra's data centre and the
// folder of the backup tree its files go to.
struct DataCentreStage {
    const char* status;
    std::filesystem::path source;  // folder of Quvetra's data centre
    std::filesystem::path target;  // folder of the backup tree
    std::filesystem::path parent;  // the folder the target is made in
    std::string shownAs;           // the target's name as the user reads it: "" or "Archivo/"
};

// What the data-centre stages found, told to the user after the last one.
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
};

// Copies the files of one stage into the tree without replacing any, and
// notes in the findings what could not be copied and which kept files are
// older than Quvetra's; once the destination is gone, only counts the files.
// Keeps the window answering throughout.
void copyDataCentreStage(const DataCentreStage& stage, WindowOps& window, FileSystem& files,
                         DataCentreFindings& findings, std::filesystem::path& currentFile);

}  // namespace ruror
