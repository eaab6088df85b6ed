#include "platform/hash_to_end.h"

#include <algorithm>

#include "platform/aligned_buffer.h"

namespace ruror {

int hashToEnd(const PiecePipeline::Fill& read, std::uint64_t size, ContentHash& hash, std::uint64_t& total,
              const PiecePipeline::Between& progress) {
    if (size >= PiecePipeline::kWorthItFrom) {
        const PiecePipeline::Result result = PiecePipeline::run(
            read,
            [&hash](char* piece, std::size_t length, std::uint64_t) {
                hash.add(piece, length);
                return 0;
            },
            [&progress](std::uint64_t emptied) {
                if (progress) progress(emptied);
            });
        total = result.emptied;
        if (progress) progress(total);
        return result.error;
    }
    // One block more than the size, so that bytes past it are seen.
    AlignedBuffer buffer(
        std::min<std::size_t>(PiecePipeline::kSmallPieceBytes, roundedUpToBlock(static_cast<std::size_t>(size) + 1)));
    for (;;) {
        const long long got = read(buffer.data(), buffer.size(), total);
        if (got < 0) return static_cast<int>(-got);
        if (got == 0) return 0;
        hash.add(buffer.data(), static_cast<std::size_t>(got));
        total += static_cast<std::uint64_t>(got);
        if (progress) progress(total);
    }
}

}  // namespace ruror
