#pragma once

#include "backup/backup_observer.h"
#include "backup/backup_request.h"
#include "backup/backup_result.h"
#include "core/file_system.h"

namespace ruror {

// Copies Quvetra's database to the backup file the request names and, when
// the request asks for it, the data centre into the backup tree, telling
// the observer of each stage and of its progress. A failure of the database
// stage ends the backup at once; the data-centre stages go on past each
// file that fails. Shows nothing: the result says what was done.
BackupResult FunCopiar(const BackupRequest& request, FileSystem& files, BackupObserver& observer);

}  // namespace ruror
