#include "os/win32/reparse_links.h"

#include "os/win32/extended_path.h"

namespace ruror::win32 {

bool isLink(DWORD attributes, DWORD reparseTag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(reparseTag);
}

// A look-up of the entry itself gives its reparse tag with its attributes.
bool linkAt(const std::filesystem::path& path) {
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW(extendedLengthPath(path.wstring()).c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return isLink(entry.dwFileAttributes, entry.dwReserved0);
}

}  // namespace ruror::win32
