#pragma once

#include <filesystem>
#include <string>

#include "os/posix/unique_fd.h"

namespace ruror::posix {

// A file being written under a hidden temporary name in a destination
// folder. While it is open it holds an exclusive lock, which tells a later
// run that it is still being written; a file of that name whose lock can be
// taken was left by a run that ended.
class TemporaryFile {
public:
    // Creates the file, empty and locked, in the folder; `error` is 0 or
    // the errno value.
    static TemporaryFile create(const std::filesystem::path& folder, int& error);

    TemporaryFile() = default;
    TemporaryFile(TemporaryFile&&) = default;
    TemporaryFile& operator=(TemporaryFile&&) = default;
    // Removes the file unless it was renamed into place.
    ~TemporaryFile();

    int fd() const { return fd_.get(); }
    const std::filesystem::path& path() const { return path_; }

    // Gives the file its final name: 0, an errno value, or, with replace
    // false and a file of that name there, kNameTaken and that file kept.
    int renameTo(const std::filesystem::path& destination, bool replace);
    static constexpr int kNameTaken = -1;

    // Whether a name is one this class gives its files.
    static bool isTemporaryName(const std::string& name);
    // Removes the files of that name that no open TemporaryFile holds.
    static void removeAbandoned(const std::filesystem::path& folder);

private:
    TemporaryFile(UniqueFd fd, std::filesystem::path path) : fd_(std::move(fd)), path_(std::move(path)) {}

    UniqueFd fd_;
    std::filesystem::path path_;
};

}  // namespace ruror::posix
