#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "core/copy_steps.h"
#include "os/posix/unique_fd.h"

namespace ruror::posix {

// A file opened for a copy: read only, and non-blocking, so that a FIFO
// put in the file's place cannot hang the open.
class PosixCopySource final : public CopySource {
public:
    // 0 or the errno value of the open.
    static int open(const std::filesystem::path& path, bool followLink, std::unique_ptr<CopySource>& opened);

    FileStamp stamp() const override;
    unsigned permissions() const override { return before_.st_mode & 0777; }
    bool isPlainFile() const override { return S_ISREG(before_.st_mode); }
    bool onlyInTheCloud() const override { return false; }
    long long readAt(char* buffer, std::size_t capacity, std::uint64_t offset) override;
    int checkUnchanged(bool& unchanged) override;

private:
    PosixCopySource(UniqueFd fd, const struct stat& before) : fd_(std::move(fd)), before_(before) {}

    UniqueFd fd_;
    struct stat before_;
};

// What tells one version of a file from another, from its status.
FileStamp stampOf(const struct stat& status);

}  // namespace ruror::posix
