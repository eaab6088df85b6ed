#pragma once

#include <optional>
#include <string>

#include "backup/backup_request.h"
#include "core/file_system.h"

namespace ruror {

// Whether the destination's drive has room for all the backup will write,
// checked before anything is written, so that a stick never fills up half
// way. The message that refuses the backup where it has not, saying how
// much it needs and how much is free; nothing where it has, or where the
// free space cannot be told.
// `needed` is set to what the backup will write.
std::optional<std::string> checkRoom(FileSystem& files, const BackupRequest& request, std::uint64_t& needed);

}  // namespace ruror
