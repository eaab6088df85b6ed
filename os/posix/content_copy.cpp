#include "os/posix/content_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/aligned_buffer.h"
#include "core/hashed_transfer.h"
#include "os/posix/positional_io.h"

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

// One way of copying, past the cache or through it.
ContentFailure copyOnce(int in, int out, std::uint64_t size, bool direct, ContentHash& hash,
                        const CopyProgress& progress) {
    const PiecePipeline::Result result = copyHashing(
        [in](char* piece, std::size_t capacity, std::uint64_t offset) { return readAt(in, piece, capacity, offset); },
        [out, direct](char* piece, std::size_t length, std::uint64_t offset) {
            return writePiece(out, piece, length, offset, direct);
        },
        size, hash,
        [&](std::uint64_t written) {
            if (progress) progress(written, 2 * size);
        });
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
