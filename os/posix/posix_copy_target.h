#pragma once

#include <filesystem>
#include <memory>

#include "core/copy_steps.h"
#include "os/posix/temporary_file.h"
#include "os/posix/unique_fd.h"

namespace ruror::posix {

// A copy being written under a temporary name. A file of 256 KiB or more is
// written past the memory cache (O_DIRECT) where the file system allows it:
// nothing is then left for the flush to write, and on a disk that takes
// large writes at once, through the cache they cost a third more. Smaller
// ones are left to the flush of their batch, which writes many together.
class PosixCopyTarget final : public CopyTarget {
public:
    static int create(const std::filesystem::path& folder, std::uint64_t size, std::unique_ptr<CopyTarget>& created);

    int writeAt(char* piece, std::size_t length, std::uint64_t offset) override;
    int endAt(std::uint64_t size) override;
    int keepPermissions(unsigned permissions) override;
    int keepModificationTime(std::int64_t nanoseconds) override;
    int flush(const KeepAnswering& between) override;
    int openReadBack(const KeepAnswering& between) override;
    long long readBackAt(char* buffer, std::size_t capacity, std::uint64_t offset) override;
    int place(const std::filesystem::path& destination, bool replace, const KeepAnswering& between) override;

    // The copy's own descriptor, open for writing.
    int fd() const { return file_.fd(); }

private:
    explicit PosixCopyTarget(TemporaryFile file) : file_(std::move(file)) {}
    int readBackThroughCache();

    TemporaryFile file_;
    bool direct_ = false;
    // The descriptor the copy is read back through, its own: some FUSE
    // drivers (fusefat among them) give back what a new reader would find,
    // not what the writer's descriptor holds.
    UniqueFd reading_;
    bool readingDirect_ = false;
};

}  // namespace ruror::posix
