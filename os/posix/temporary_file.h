#pragma once

#include <filesystem>
#include <string>

#include "core/failure.h"
#include "os/posix/unique_fd.h"

namespace ruror::posix {

// A file being written under a hidden temporary name in a destination
// folder. While it is open it holds an exclusive lock, which tells a later
// run that it is still being written; a file of that name whose lock can be
// taken was left by a run that ended.
class TemporaryFile {
public:
    // Creates the file, empty and locked, in the folder.
    static TemporaryFile create(const std::filesystem::path& folder, Outcome& failure);

    TemporaryFile() = default;
    TemporaryFile(TemporaryFile&&) = default;
    TemporaryFile& operator=(TemporaryFile&&) = default;
    // Removes the file unless it was renamed into place.
    ~TemporaryFile();

    int fd() const { return fd_.get(); }
    const std::filesystem::path& path() const { return path_; }
    bool valid() const { return fd_.valid(); }

    // Gives the file its final name; with replace false an existing file of
    // that name is kept and the rename fails with EEXIST.
    Outcome renameTo(const std::filesystem::path& destination, bool replace);

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
