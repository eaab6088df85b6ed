#pragma once

#include <optional>
#include <string>

#include "core/location.h"
#include "core/window_ops.h"

namespace ruror {

// Why a location and backup name cannot form the backup file's path.
struct BadBackupPath {
    Control field;       // the field at fault
    std::string path;    // the path as it would be formed
    std::string reason;  // in Spanish
};

// Checks that the location and the trimmed name form a path the file system
// accepts, before anything looks it up.
std::optional<BadBackupPath> checkBackupPath(const Location& location, const std::string& trimmedName);

// The message that tells the user of a bad path.
std::string badBackupPathMessage(const BadBackupPath& bad);

}  // namespace ruror
