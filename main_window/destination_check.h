#pragma once

#include <optional>
#include <string>

#include "core/file_system.h"
#include "core/location.h"
#include "main_window/backup_path_check.h"

namespace ruror {

// Checks what stands at the destination before anything is copied: a
// location that is no folder or does not exist, a folder
// or a hidden or system file under the backup file's name, or a location
// inside Quvetra's own data centre, where each backup would be copied into
// the next one.
std::optional<BadBackupPath> checkDestination(FileSystem& files, const Location& location,
                                              const std::string& trimmedName);

}  // namespace ruror
