#include "os/win32/extended_path.h"

#include "core/windows_paths.h"

namespace ruror::win32 {
namespace {

using windows_paths::isSeparator;

// Backslashes only, none doubled.
std::wstring collapsedSeparators(const std::wstring& rest) {
    std::wstring result;
    result.reserve(rest.size());
    for (const wchar_t c : rest) {
        if (isSeparator(c)) {
            if (result.empty() || result.back() != L'\\') result += L'\\';
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace

std::wstring extendedLengthPath(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (windows_paths::isDrivePath(path)) return L"\\\\?\\" + collapsedSeparators(path);
    if (windows_paths::isSharePath(path)) return L"\\\\?\\UNC\\" + collapsedSeparators(path.substr(2));
    return path;
}

}  // namespace ruror::win32
