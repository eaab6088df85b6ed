#include "platform/posix/content_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/aligned_buffer.h"
#include "platform/piece_pipeline.h"
#include "platform/posix/positional_io.h"

namespace ruror::posix {
namespace {

// Files this large are written past the cache too: on a disk that takes
// large writes at once, through the cache they cost a third more. Smaller
// ones are left to the flush of their batch, which writes many together.
constexpr std::uint64_t kDirectFrom = 256 << 10;

bool setDirect(int fd, bool on) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, on ? (flags | O_DIRECT) : (flags & ~O_DIRECT)) == 0;
}

// Past the cache only whole blocks are written: the tail of the file, less
// than a block, goes through the cache. (Padding it and cutting the file
// back would do too, but some drivers refuse to shorten a file.)
int writePiece(int out, const char* piece, std::size_t length, std::uint64_t offset, bool direct) {
    if (!direct) return writeAt(out, piece, length, offset);
    const std::size_t whole = length / kBlockAlignment * kBlockAlignment;
    if (whole > 0) {
        if (const int error = writeAt(out, piece, whole, offset)) return error;
    }
    if (whole == length) return 0;
    if (!setDirect(out, false)) return errno;
    return writeAt(out, piece + whole, length - whole, offset + whole);
}

ContentFailure copySmall(int in, int out, std::uint64_t size, bool direct, ContentHash& hash,
                         const CopyProgress& progress) {
    AlignedBuffer buffer(roundedUpToBlock(static_cast<std::size_t>(
        std::min<std::uint64_t>(std::max<std::uint64_t>(size, 1), PiecePipeline::kSmallPieceBytes))));
    for (std::uint64_t offset = 0; offset < size;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - offset));
        const long long got = readAt(in, buffer.data(), want, offset);
        if (got < 0) return {static_cast<int>(-got), false};
        if (got == 0) break;
        hash.add(buffer.data(), static_cast<std::size_t>(got));
        if (const int error = writePiece(out, buffer.data(), static_cast<std::size_t>(got), offset, direct))
            return {error, true};
        offset += static_cast<std::uint64_t>(got);
        if (progress) progress(offset, 2 * size);
    }
    return {};
}

// One run of the pipeline, past the cache or through it.
PiecePipeline::Result pipelined(int in, int out, std::uint64_t size, bool direct, ContentHash& hash,
                                const CopyProgress& progress) {
    const auto fill = [&](char* piece, std::size_t capacity, std::uint64_t offset) -> long long {
        if (offset >= size) return 0;
        const long long got =
            readAt(in, piece, static_cast<std::size_t>(std::min<std::uint64_t>(capacity, size - offset)), offset);
        if (got > 0) hash.add(piece, static_cast<std::size_t>(got));
        return got;
    };
    const auto empty = [&](char* piece, std::size_t length, std::uint64_t offset) {
        return writePiece(out, piece, length, offset, direct);
    };
    const PiecePipeline::Result result = PiecePipeline::run(fill, empty, [&](std::uint64_t emptied) {
        if (progress) progress(emptied, 2 * size);
    });
    if (progress) progress(result.emptied, 2 * size);
    return result;
}

// One way of copying, past the cache or through it.
ContentFailure copyOnce(int in, int out, std::uint64_t size, bool direct, ContentHash& hash,
                        const CopyProgress& progress) {
    if (size < PiecePipeline::kWorthItFrom) return copySmall(in, out, size, direct, hash, progress);
    const PiecePipeline::Result result = pipelined(in, out, size, direct, hash, progress);
    return {result.error, result.error != 0 && !result.failedFilling};
}

}  // namespace

ContentFailure copyContent(int in, int out, std::uint64_t size, ContentHash& hash, const CopyProgress& progress) {
    bool direct = size >= kDirectFrom && setDirect(out, true);
    ContentFailure failed = copyOnce(in, out, size, direct, hash, progress);
    // A file system may take the flag and refuse the writes (some FUSE
    // drivers, with EINVAL or EPERM): the copy then starts again through the
    // cache, where a failure of the drive's own shows again.
    // The same bytes are written over what the first try wrote.
    if (direct && failed.error != 0 && failed.onWrite) {
        setDirect(out, false);
        hash = ContentHash();
        failed = copyOnce(in, out, size, false, hash, progress);
    }
    setDirect(out, false);
    return failed;
}

}  // namespace ruror::posix
