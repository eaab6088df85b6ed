#pragma once

#include <string>

// How Windows reads a path, as text: the rules hold wherever the program
// runs, so the Linux tests check them too.
namespace ruror::windows_paths {

bool isSeparator(wchar_t c);
// "C:\..." (either separator).
bool isDrivePath(const std::wstring& path);
// "\\servidor\compartido\...", not the long form "\\?\".
bool isSharePath(const std::wstring& path);

// A full path as Windows itself names it (GetFullPathNameW's rules): "/" as
// "\", doubled separators as one, "." and ".." resolved (never above the
// drive's root or the share), and the trailing dots and spaces of each
// component removed, so "E:\otra\..\Copias. " is "E:\Copias". A trailing
// separator is kept. A drive alone, "E:", is its root, "E:\". Anything else
// (a relative path, "C:Copias", one in the long form) is returned as it is.
std::wstring normalisedFullPath(const std::wstring& path);

}  // namespace ruror::windows_paths
