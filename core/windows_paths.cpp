#include "core/windows_paths.h"

#include <vector>

namespace ruror::windows_paths {
namespace {

bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

std::vector<std::wstring> components(const std::wstring& path, std::size_t from) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (std::size_t i = from; i <= path.size(); ++i) {
        if (i == path.size() || isSeparator(path[i])) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += path[i];
        }
    }
    return parts;
}

// The components after the root, resolved: "." dropped, ".." taking the one
// before it (none above the root), trailing dots and spaces removed.
std::vector<std::wstring> resolved(const std::vector<std::wstring>& parts) {
    std::vector<std::wstring> kept;
    for (std::wstring part : parts) {
        if (part == L".") continue;
        if (part == L"..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        part.erase(part.find_last_not_of(L". ") + 1);
        if (!part.empty()) kept.push_back(part);
    }
    return kept;
}

}  // namespace

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isDrivePath(const std::wstring& path) {
    return path.size() >= 3 && isDriveLetter(path[0]) && path[1] == L':' && isSeparator(path[2]);
}

bool isSharePath(const std::wstring& path) {
    return path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]) && path[2] != L'?';
}

std::wstring normalisedFullPath(const std::wstring& path) {
    // A drive alone stands for its root, as "E:" + "\" + name names a file there.
    if (path.size() == 2 && isDriveLetter(path[0]) && path[1] == L':') return path + L"\\";
    std::wstring root;
    std::vector<std::wstring> parts;
    if (isDrivePath(path)) {
        root = path.substr(0, 2) + L"\\";
        parts = components(path, 3);
    } else if (isSharePath(path)) {
        // The server and the share are the root: ".." never climbs above it.
        parts = components(path, 2);
        if (parts.size() < 2) return path;
        root = L"\\\\" + parts[0] + L"\\" + parts[1] + L"\\";
        parts.erase(parts.begin(), parts.begin() + 2);
    } else {
        return path;
    }
    std::wstring result = root;
    for (const std::wstring& part : resolved(parts)) result += part + L"\\";
    // A trailing separator stays only where the path had one.
    if (result.size() > root.size() && !isSeparator(path.back())) result.pop_back();
    if (result.size() == root.size() && !isSeparator(path.back()) && isSharePath(path)) result.pop_back();
    return result;
}

}  // namespace ruror::windows_paths
