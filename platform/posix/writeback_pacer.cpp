#include "platform/posix/writeback_pacer.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

namespace ruror::posix {
namespace {

// How much written data may wait for the disk, and how much one wait covers.
constexpr std::uint64_t kInFlight = 128 << 20;
constexpr std::uint64_t kPiece = 2 << 20;
// Write-back is started in large batches, which the file system lays out
// in long extents; only the waits are cut small.
constexpr std::uint64_t kBatch = 32 << 20;

bool unsupported(int error) { return error == EINVAL || error == ENOSYS || error == ESPIPE || error == EOPNOTSUPP; }

}  // namespace

int WritebackPacer::advance(std::uint64_t written) {
    written_ = written;
    if (!enabled_ || written < started_ + kBatch) return 0;
    if (sync_file_range(fd_, static_cast<off_t>(started_), static_cast<off_t>(written - started_),
                        SYNC_FILE_RANGE_WRITE) != 0) {
        if (unsupported(errno)) {
            enabled_ = false;  // the final flush does it all
            return 0;
        }
        return errno;
    }
    started_ = written;
    if (written > waited_ + kInFlight) return waitUpTo(written - kInFlight);
    return 0;
}

int WritebackPacer::finish() {
    if (!enabled_ || started_ >= written_) return 0;
    if (sync_file_range(fd_, static_cast<off_t>(started_), static_cast<off_t>(written_ - started_),
                        SYNC_FILE_RANGE_WRITE) != 0) {
        if (unsupported(errno)) {
            enabled_ = false;
            return 0;
        }
        return errno;
    }
    started_ = written_;
    return 0;
}

int WritebackPacer::drain(const std::function<void()>& between) {
    if (const int error = finish()) return error;
    while (enabled_ && waited_ < started_) {
        if (const int error = waitUpTo(std::min(started_, waited_ + kPiece))) return error;
        if (between) between();
    }
    return 0;
}

int WritebackPacer::waitUpTo(std::uint64_t end) {
    if (end <= waited_) return 0;
    const unsigned flags = SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    if (sync_file_range(fd_, static_cast<off_t>(waited_), static_cast<off_t>(end - waited_), flags) != 0) {
        if (unsupported(errno)) {
            enabled_ = false;
            return 0;
        }
        return errno;
    }
    waited_ = end;
    return 0;
}

}  // namespace ruror::posix
