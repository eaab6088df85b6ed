#include "platform/win32/extended_path.h"

namespace ruror::win32 {
namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

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
    const bool drive = path.size() >= 3 && isDriveLetter(path[0]) && path[1] == L':' && isSeparator(path[2]);
    if (drive) return L"\\\\?\\" + collapsedSeparators(path);
    const bool share = path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]);
    if (share) return L"\\\\?\\UNC\\" + collapsedSeparators(path.substr(2));
    return path;
}

}  // namespace ruror::win32
