#pragma once

#include <cstdint>
#include <functional>

namespace ruror::posix {

// Keeps the data of a file being written flowing to the disk while it is
// written, instead of leaving gigabytes in memory for one long flush at the
// end, during which the window could not answer. At most a fixed amount of
// written data waits for the disk at any time; each wait covers one small
// piece, so it is short even on a slow USB drive.
class WritebackPacer {
public:
    explicit WritebackPacer(int fd) : fd_(fd) {}

    // The file now holds `written` bytes: starts writing the new ones and
    // waits for those that are too far behind. Returns 0 or an errno value.
    int advance(std::uint64_t written);
    // How much of the file is known to be on the disk; where the file
    // system cannot tell, how much was written.
    std::uint64_t onDisk() const;
    // The file is complete: starts writing what is not on its way yet, so
    // it goes to the disk while other files are copied.
    int finish();
    // Waits for everything written, a piece at a time, calling `between`
    // after each piece. Returns 0 or an errno value.
    int drain(const std::function<void()>& between);

private:
    int waitUpTo(std::uint64_t end);
    // One sync_file_range call on [from, to); 0 or an errno value.
    int request(std::uint64_t from, std::uint64_t to, unsigned flags);

    int fd_;
    bool enabled_ = true;
    std::uint64_t written_ = 0;  // the file holds this much
    std::uint64_t started_ = 0;  // writeback started up to here
    std::uint64_t waited_ = 0;   // on the disk up to here
};

}  // namespace ruror::posix
