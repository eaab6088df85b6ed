#pragma once

#include <string>

namespace ruror::win32 {

// The form of a full path that Windows takes past 260 characters: "\\?\C:\..."
// for a drive, "\\?\UNC\servidor\compartido\..." for a network share. That
// form is taken as it is, so forward slashes become backslashes and doubled
// separators (which the program's plain concatenation makes) are collapsed
// here. Anything else (a relative path, one already in that form) is
// returned as it is.
std::wstring extendedLengthPath(const std::wstring& path);

}  // namespace ruror::win32
