#include "os/posix/posix_copy_source.h"

#include <fcntl.h>

#include <cerrno>

#include "os/posix/positional_io.h"

namespace ruror::posix {

FileStamp stampOf(const struct stat& status) {
    constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
    return FileStamp{static_cast<std::uint64_t>(status.st_size),
                     static_cast<std::int64_t>(status.st_mtim.tv_sec) * kNanosecondsPerSecond + status.st_mtim.tv_nsec};
}

int PosixCopySource::open(const std::filesystem::path& path, bool followLink, std::unique_ptr<CopySource>& opened) {
    // Without following, a document swapped for a link after the listing
    // fails to open instead of bringing in whatever the link points to.
    const int noFollow = followLink ? 0 : O_NOFOLLOW;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | noFollow));
    if (!fd.valid()) return errno;
    struct stat before {};
    if (fstat(fd.get(), &before) != 0) return errno;
    // Read ahead further: a file is read once, in order.
    posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    opened.reset(new PosixCopySource(std::move(fd), before));
    return 0;
}

FileStamp PosixCopySource::stamp() const { return stampOf(before_); }

long long PosixCopySource::readAt(char* buffer, std::size_t capacity, std::uint64_t offset) {
    return posix::readAt(fd_.get(), buffer, capacity, offset);
}

int PosixCopySource::checkUnchanged(bool& unchanged) {
    struct stat after {};
    if (fstat(fd_.get(), &after) != 0) return errno;
    unchanged = after.st_size == before_.st_size && after.st_mtim.tv_sec == before_.st_mtim.tv_sec &&
                after.st_mtim.tv_nsec == before_.st_mtim.tv_nsec;
    return 0;
}

}  // namespace ruror::posix
