#pragma once

#include <filesystem>
#include <string>

namespace ruror {

// The window speaks UTF-8; the file system speaks native paths. These two
// are the only crossings between them. On POSIX a path's bytes pass through
// unchanged, so a name that is not valid UTF-8 is never altered.
inline std::filesystem::path pathFromText(const std::string& utf8) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return std::filesystem::path(utf8);
#endif
}

inline std::string textFromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.native();
#endif
}

// Joins a folder and a name with the platform's separator, one separator
// only where the folder ends in one already (a drive's root): so the paths
// the program shows read as the user writes them.
inline std::filesystem::path joinedPath(const std::filesystem::path& folder, const std::filesystem::path& name) {
    const auto& text = folder.native();
    const bool endsInSeparator = !text.empty() && (text.back() == std::filesystem::path::preferred_separator ||
                                                   text.back() == static_cast<decltype(text.back())>('/'));
    if (endsInSeparator) return std::filesystem::path(text + name.native());
    return std::filesystem::path(text + std::filesystem::path::preferred_separator + name.native());
}

}  // namespace ruror
