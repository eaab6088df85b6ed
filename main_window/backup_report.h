#pragma once

#include <string>
#include <vector>

#include "backup/backup_request.h"
#include "backup/backup_result.h"
#include "core/dialogs.h"

namespace ruror {

// Tells the user what a finished backup did, in the boxes the window shows
// after it: the failure report of the database stage; or the folders the
// fixed layout leaves out, the documents kept from an earlier backup that
// are older than Quvetra's, and what the data centre could not give. Then
// the result itself. Returns whether the backup was a complete success.
// `replacing` says that an earlier backup file of that name was being
// replaced, which a full drive must hold beside the new one.
bool tellBackupResult(Dialogs& dialogs, const BackupRequest& request, const BackupResult& result, bool replacing);

// The texts of those boxes.
std::string failureReportText(const Failure& failure);
std::string dataCentreFailuresText(const std::vector<Failure>& failures);
std::string outdatedDocumentsText(const std::vector<std::string>& names, const std::string& tree);
std::string leftOutText(const std::vector<LeftOut>& entries);
// What a backup stopped on request kept, and what it did not.
std::string stoppedBackupText(const BackupRequest& request, const BackupResult& result, bool replacing);

}  // namespace ruror
