#include "platform/posix/writeback_pacer.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

namespace ruror::posix {
namespace {

// How much written data may wait for the disk, and how much one wait covers.
constexpr std::uint64_t kInFlight = 256 << 20;
constexpr std::uint64_t kPiece = 2 << 20;
// Write-back is started in large batches, which the file system lays out
// in long extents; only the waits are cut small.
constexpr std::uint64_t kBatch = 32 << 20;

constexpr unsigned kStart = SYNC_FILE_RANGE_WRITE;
constexpr unsigned kWait = SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;

}  // namespace

int WritebackPacer::advance(std::uint64_t written) {
    written_ = written;
    if (written >= started_ + kBatch) {
        if (const int error = finish()) return error;
    }
    // One piece at most per call, so no single call waits long.
    if (written > waited_ + kInFlight) return waitUpTo(std::min(written - kInFlight, waited_ + kPiece));
    return 0;
}

std::uint64_t WritebackPacer::onDisk() const { return enabled_ ? waited_ : written_; }

int WritebackPacer::finish() {
    if (started_ >= written_) return 0;
    if (const int error = request(started_, written_, kStart)) return error;
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
    if (const int error = request(waited_, end, kWait)) return error;
    waited_ = end;
    return 0;
}

int WritebackPacer::request(std::uint64_t from, std::uint64_t to, unsigned flags) {
    if (!enabled_) return 0;
    if (sync_file_range(fd_, static_cast<off_t>(from), static_cast<off_t>(to - from), flags) == 0) return 0;
    const int error = errno;
    // Where the file system cannot do this, the final flush does it all.
    if (error == EINVAL || error == ENOSYS || error == ESPIPE || error == EOPNOTSUPP) {
        enabled_ = false;
        return 0;
    }
    return error;
}

}  // namespace ruror::posix
