#include "os/posix/posix_copy_target.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/aligned_buffer.h"
#include "core/answering_wait.h"
#include "os/posix/positional_io.h"
#include "os/posix/system_failure.h"

namespace ruror::posix {
namespace {

constexpr std::uint64_t kDirectFrom = 256 << 10;

bool setDirect(int fd, bool on) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, on ? (flags | O_DIRECT) : (flags & ~O_DIRECT)) == 0;
}

}  // namespace

int PosixCopyTarget::create(const std::filesystem::path& folder, std::uint64_t size,
                            std::unique_ptr<CopyTarget>& created) {
    int error = 0;
    TemporaryFile file = TemporaryFile::create(folder.empty() ? "." : folder, error);
    if (error != 0) return error;
    std::unique_ptr<PosixCopyTarget> target(new PosixCopyTarget(std::move(file)));
    target->direct_ = size >= kDirectFrom && setDirect(target->fd(), true);
    created = std::move(target);
    return 0;
}

// Past the cache only whole blocks are written: the tail of the file, less
// than a block, goes through the cache. (Padding it and cutting the file
// back would do too, but some drivers refuse to shorten a file.) A file
// system may take the flag and refuse the writes (some FUSE drivers, with
// EINVAL or EPERM): the copy then goes on through the cache, where a
// failure of the drive's own shows again.
int PosixCopyTarget::writeAt(char* piece, std::size_t length, std::uint64_t offset) {
    if (direct_) {
        const std::size_t whole = length / kBlockAlignment * kBlockAlignment;
        const int error = whole > 0 ? posix::writeAt(fd(), piece, whole, offset) : 0;
        if (error == 0 && whole == length) return 0;
        direct_ = false;
        setDirect(fd(), false);
        if (error == 0) return posix::writeAt(fd(), piece + whole, length - whole, offset + whole);
    }
    return posix::writeAt(fd(), piece, length, offset);
}

int PosixCopyTarget::endAt(std::uint64_t) {
    if (direct_) setDirect(fd(), false);
    direct_ = false;
    return 0;
}

// Permission bits are kept where the file system can hold them; a FAT drive
// has none, and refusing it would refuse the most common backup drive there is.
int PosixCopyTarget::keepPermissions(unsigned permissions) {
    if (fchmod(fd(), permissions) != 0 && !notOffered(errno) && errno != EPERM) return errno;
    return 0;
}

int PosixCopyTarget::keepModificationTime(std::int64_t nanoseconds) {
    constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {static_cast<time_t>(nanoseconds / kNanosecondsPerSecond),
                                       static_cast<long>(nanoseconds % kNanosecondsPerSecond)}};
    if (futimens(fd(), times) != 0 && !notOffered(errno)) return errno;
    return 0;
}

int PosixCopyTarget::flush(const KeepAnswering& between) {
    const int descriptor = fd();
    return waitAnswering([descriptor] { return fsync(descriptor) == 0 ? 0 : errno; }, between);
}

// Past the cache (O_DIRECT) where the file system offers it; otherwise the
// copy's pages, clean since the flush, are dropped first.
int PosixCopyTarget::openReadBack(const KeepAnswering&) {
    reading_ = UniqueFd(open(file_.path().c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC | O_NOFOLLOW));
    readingDirect_ = reading_.valid();
    return readingDirect_ ? 0 : readBackThroughCache();
}

int PosixCopyTarget::readBackThroughCache() {
    readingDirect_ = false;
    posix_fadvise(fd(), 0, 0, POSIX_FADV_DONTNEED);
    reading_ = UniqueFd(open(file_.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    return 0;
}

// A file system may take the flag at open and refuse it at read.
long long PosixCopyTarget::readBackAt(char* buffer, std::size_t capacity, std::uint64_t offset) {
    const int descriptor = reading_.valid() ? reading_.get() : fd();
    const long long got = posix::readAt(descriptor, buffer, capacity, offset);
    if (got != -EINVAL || !readingDirect_) return got;
    readBackThroughCache();
    return posix::readAt(reading_.valid() ? reading_.get() : fd(), buffer, capacity, offset);
}

int PosixCopyTarget::place(const std::filesystem::path& destination, bool replace, const KeepAnswering&) {
    reading_.reset();
    const int result = file_.renameTo(destination, replace);
    return result == TemporaryFile::kNameTaken ? kNameTaken : result;
}

}  // namespace ruror::posix
