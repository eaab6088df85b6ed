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

// Joins a folder and a name by plain concatenation with the platform's
// separator, as the program's paths are formed: a folder that already ends
// in a separator gives a doubled one, which the file system reads as one.
inline std::filesystem::path joinedPath(const std::filesystem::path& folder, const std::filesystem::path& name) {
    return std::filesystem::path(folder.native() + std::filesystem::path::preferred_separator + name.native());
}

}  // namespace ruror
