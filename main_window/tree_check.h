#pragma once

#include <optional>

#include "core/file_system.h"
#include "core/location.h"
#include "main_window/backup_path_check.h"

namespace ruror {

// Checks the folders of the backup tree that already stand in the location,
// before anything is written: each must be a real folder of the user's (or
// the administrator's) that no other user may write into. A link would send
// the documents outside the location, or onto Quvetra's own; a folder that
// another user can write into may hold documents planted there, which the
// backup would keep as its copies.
std::optional<BadBackupPath> checkBackupTree(FileSystem& files, const Location& location);

}  // namespace ruror
