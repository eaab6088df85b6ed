#pragma once

#include <windows.h>

#include <filesystem>

namespace ruror::win32 {

// Whether attributes and a reparse tag make an entry a link: a symbolic
// link, a junction or another name that stands for something elsewhere.
// Files kept in the cloud and deduplicated files are reparse points too,
// but they hold their own data, and are files like any other.
bool isLink(DWORD attributes, DWORD reparseTag);

// Whether a link stands at the path, the path's last part not followed.
bool linkAt(const std::filesystem::path& path);

// The error told for a document that is a link, or became one after it was
// listed: the copy stops on it.
inline constexpr DWORD kStoppedOnLink = 681;  // ERROR_STOPPED_ON_SYMLINK

}  // namespace ruror::win32
