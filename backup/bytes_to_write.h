#pragma once

#include <cstdint>

#include "backup/backup_request.h"
#include "core/file_system.h"

namespace ruror {

// How many bytes the backup the request names will write: the whole
// database, whose copy stands beside an earlier backup of that name until
// it has been read back, and the data-centre files the tree does not hold
// yet (those it holds are kept, not copied again), but for any too large
// for the drive, which are told and never written.
std::uint64_t bytesToWrite(FileSystem& files, const BackupRequest& request);

}  // namespace ruror
