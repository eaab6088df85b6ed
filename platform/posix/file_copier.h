#pragma once

#include <filesystem>

#include "platform/file_system.h"

namespace ruror::posix {

// Copies one plain file into place atomically; see FileSystem::copyFile.
Outcome copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress);

}  // namespace ruror::posix
