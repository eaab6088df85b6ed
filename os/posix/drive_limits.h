#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace ruror::posix {

// The largest file the file system that holds a folder can take, where it
// has a limit below what a backup may need: FAT drives (most USB sticks)
// hold no file of 4 GiB or more. Empty where there is no such limit, or
// where the file system cannot be told.
std::optional<std::uint64_t> largestFileOn(const std::filesystem::path& folder);

// Whether the file system that holds a folder keeps each file's owner and
// mode: not the drives made for Windows, whose are the mount's.
bool keepsOwners(const std::filesystem::path& folder);

}  // namespace ruror::posix
