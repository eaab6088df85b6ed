#include "backup/piece_pipeline.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "tests/support/temp_folder.h"

namespace ruror {
namespace {

constexpr std::size_t kPiece = PiecePipeline::kPieceBytes;

// A source of bytes and a sink, as a copy's reading and writing would be.
struct Transfer {
    explicit Transfer(std::size_t size) : source(test::randomBytes(size, 11)) {}

    PiecePipeline::Result run(int failFillAt = -1, int failEmptyAt = -1) {
        int fills = 0, empties = 0;
        return PiecePipeline::run(
            [&](char* piece, std::size_t capacity, std::uint64_t offset) -> long long {
                if (fills++ == failFillAt) return -EIO;
                if (offset >= source.size()) return 0;
                const std::size_t size = std::min<std::size_t>(capacity, source.size() - offset);
                std::memcpy(piece, source.data() + offset, size);
                return static_cast<long long>(size);
            },
            [&](char* piece, std::size_t size, std::uint64_t offset) {
                if (empties++ == failEmptyAt) return ENOSPC;
                EXPECT_EQ(offset, sink.size()) << "the pieces come in their order";
                sink.append(piece, size);
                return 0;
            },
            {});
    }

    std::string source, sink;
};

// Every byte passes, in order, whatever the last piece's size; a failure
// on either side stops the pipeline and is told with its side.
TEST(PiecePipeline, PassesEveryByteInOrderAndStopsAtTheFirstFailure) {
    for (const std::size_t size : {std::size_t{0}, kPiece, 5 * kPiece + 4321}) {
        Transfer whole(size);
        const PiecePipeline::Result result = whole.run();
        EXPECT_EQ(result.error, 0);
        EXPECT_EQ(result.emptied, size);
        EXPECT_TRUE(whole.sink == whole.source) << size;
    }

    Transfer reading(5 * kPiece);
    const PiecePipeline::Result readFailed = reading.run(2);
    EXPECT_EQ(readFailed.error, EIO);
    EXPECT_TRUE(readFailed.failedFilling);
    EXPECT_LE(readFailed.emptied, 2 * kPiece);

    Transfer writing(5 * kPiece);
    const PiecePipeline::Result writeFailed = writing.run(-1, 1);
    EXPECT_EQ(writeFailed.error, ENOSPC);
    EXPECT_FALSE(writeFailed.failedFilling);
    EXPECT_EQ(writeFailed.emptied, kPiece);
}

}  // namespace
}  // namespace ruror
