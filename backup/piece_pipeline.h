#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace ruror {

// Moves a large file's bytes through a few fixed pieces on two helper
// threads: one fills pieces (reads them, and hashes what it read), the other
// empties them (writes them, or hashes them), so that reading, hashing and
// writing overlap, while the calling thread (the window's) only waits and
// calls `between` about every 10 ms with how much has been emptied. The
// pieces are aligned for reading and writing past the cache (kBlockAlignment).
// The helpers
// touch nothing but what `fill` and `empty` touch.
class PiecePipeline {
public:
    static constexpr std::size_t kPieceBytes = 4 << 20;
    // Smaller files are not worth two threads: they are moved on the calling
    // thread, a piece of at most kSmallPieceBytes at a time, so that the
    // window still answers between pieces on a slow drive.
    static constexpr std::uint64_t kWorthItFrom = 2 * kPieceBytes;
    static constexpr std::size_t kSmallPieceBytes = 1 << 20;

    // Fills a piece with up to `capacity` bytes from `offset`; returns how
    // many, 0 at the end, or a negative errno value.
    using Fill = std::function<long long(char* piece, std::size_t capacity, std::uint64_t offset)>;
    // Empties `size` bytes of a piece taken from `offset`; returns 0 or an
    // errno value. The piece has room to pad `size` up to the alignment.
    using Empty = std::function<int(char* piece, std::size_t size, std::uint64_t offset)>;
    using Between = std::function<void(std::uint64_t emptied)>;

    struct Result {
        int error = 0;  // 0, or the errno value that stopped it
        bool failedFilling = false;
        std::uint64_t emptied = 0;  // bytes emptied before it ended
    };

    static Result run(const Fill& fill, const Empty& empty, const Between& between);
};

}  // namespace ruror
