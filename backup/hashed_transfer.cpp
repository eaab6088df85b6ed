#include "backup/hashed_transfer.h"

#include <algorithm>

#include "core/aligned_buffer.h"

namespace ruror {

PiecePipeline::Result copyHashing(const PiecePipeline::Fill& read, const PiecePipeline::Empty& write,
                                  std::uint64_t size, ContentHash& hash, const PiecePipeline::Between& progress) {
    const auto readHashing = [&](char* piece, std::size_t capacity, std::uint64_t offset) -> long long {
        if (offset >= size) return 0;
        const long long got =
            read(piece, static_cast<std::size_t>(std::min<std::uint64_t>(capacity, size - offset)), offset);
        if (got > 0) hash.add(piece, static_cast<std::size_t>(got));
        return got;
    };
    if (size >= PiecePipeline::kWorthItFrom) {
        const PiecePipeline::Result result = PiecePipeline::run(readHashing, write, [&progress](std::uint64_t done) {
            if (progress) progress(done);
        });
        if (progress) progress(result.emptied);
        return result;
    }
    // Whole blocks, so that a write past the cache may pad the last piece.
    AlignedBuffer buffer(roundedUpToBlock(
        static_cast<std::size_t>(std::clamp<std::uint64_t>(size, 1, PiecePipeline::kSmallPieceBytes))));
    PiecePipeline::Result result;
    for (;;) {
        const long long got = readHashing(buffer.data(), buffer.size(), result.emptied);
        if (got < 0) {
            result.error = static_cast<int>(-got);
            result.failedFilling = true;
            return result;
        }
        if (got == 0) return result;
        if (const int error = write(buffer.data(), static_cast<std::size_t>(got), result.emptied)) {
            result.error = error;
            return result;
        }
        result.emptied += static_cast<std::uint64_t>(got);
        if (progress) progress(result.emptied);
    }
}

int hashToEnd(const PiecePipeline::Fill& read, std::uint64_t size, ContentHash& hash, std::uint64_t& total,
              const PiecePipeline::Between& progress) {
    if (size >= PiecePipeline::kWorthItFrom) {
        const PiecePipeline::Result result = PiecePipeline::run(
            read,
            [&hash](char* piece, std::size_t length, std::uint64_t) {
                hash.add(piece, length);
                return 0;
            },
            [&progress](std::uint64_t done) {
                if (progress) progress(done);
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
