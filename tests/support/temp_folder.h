#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ruror::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

private:
    std::filesystem::path path_;
};

// Writes a file, making its folders; returns its path.
std::filesystem::path writeFile(const std::filesystem::path& path, const std::string& content);
std::string readFile(const std::filesystem::path& path);
// Fills the drive that holds the folder, as another program would, until
// only about `left` bytes are free; returns the file that fills it.
std::filesystem::path fillDriveLeaving(const std::filesystem::path& folder, std::uint64_t left);
// Bytes that do not compress and differ from one variant to another.
std::string randomBytes(std::size_t size, unsigned variant);

#ifndef _WIN32
// Makes a Unix-domain socket at the path.
void makeSocket(const std::filesystem::path& path);
#endif

// The platform's folder separator, as the program's texts show it.
inline const std::string kSeparator(1, static_cast<char>(std::filesystem::path::preferred_separator));

// A path as the program's texts show it (UTF-8).
std::string text(const std::filesystem::path& path);

// Every entry below a folder (hidden ones included), by relative path, with
// the content of each file; folders map to "<dir>".
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);

// Every file below a folder whose name marks it as a copy under way, or one
// an ended run left.
std::vector<std::string> temporaryFiles(const std::filesystem::path& folder);

}  // namespace ruror::test
