#pragma once

#include <filesystem>

#include "core/file_system.h"

namespace ruror::win32 {

// Copies one plain file into place atomically, as FileSystem::copyFile
// says: a hidden temporary file in the destination's folder, written in
// chunks (so progress is told), flushed, then moved over the final name
// with write-through; replacing an existing file only with overwrite.
Outcome copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress);

// Removes the temporary files that ended runs left in a folder; one that a
// running copy holds open is left alone.
void removeAbandonedTemporaryFiles(const std::filesystem::path& folder);

}  // namespace ruror::win32
