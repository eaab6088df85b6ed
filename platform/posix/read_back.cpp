#include "platform/posix/read_back.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/aligned_buffer.h"
#include "platform/piece_pipeline.h"
#include "platform/posix/positional_io.h"
#include "platform/posix/unique_fd.h"

namespace ruror::posix {
namespace {

// Large copies are read back a piece at a time on helper threads, the
// reading of one piece overlapping the hashing of the one before.
constexpr std::uint64_t kPipelinedFrom = 2 * PiecePipeline::kPieceBytes;

}  // namespace

// Past the cache (O_DIRECT) where the file system offers it; otherwise the
// copy's pages, clean since the flush, are dropped first. Either way through
// a descriptor of its own: some FUSE drivers (fusefat among them) give back
// what a new reader would find, not what the writer's handle holds.
int ReadBack::run(ContentHash& hash, std::uint64_t& total, const std::function<void(std::uint64_t)>& progress) {
    UniqueFd direct(open(file_.path().c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC | O_NOFOLLOW));
    if (direct.valid()) {
        const int error = readAll(direct.get(), hash, total, progress);
        // A file system may take the flag at open and refuse it at read.
        if (error != EINVAL) return error;
        hash = ContentHash();
        total = 0;
    }
    posix_fadvise(file_.fd(), 0, 0, POSIX_FADV_DONTNEED);
    UniqueFd plain(open(file_.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    return readAll(plain.valid() ? plain.get() : file_.fd(), hash, total, progress);
}

int ReadBack::readAll(int fd, ContentHash& hash, std::uint64_t& total,
                      const std::function<void(std::uint64_t)>& progress) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return errno;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size >= kPipelinedFrom) {
        const PiecePipeline::Result result =
            PiecePipeline::run([fd](char* piece, std::size_t capacity,
                                    std::uint64_t offset) { return readAt(fd, piece, capacity, offset); },
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
    // A smaller copy here, a piece at a time, so that the window answers
    // between pieces even on a slow drive. A file read to its end, not to
    // its size: a drive that gave back more than was written is found out.
    constexpr std::size_t kPiece = 1 << 20;
    AlignedBuffer buffer(std::min<std::size_t>(kPiece, (size / kBlockAlignment + 1) * kBlockAlignment));
    for (;;) {
        const long long got = readAt(fd, buffer.data(), buffer.size(), total);
        if (got < 0) return static_cast<int>(-got);
        if (got == 0) return 0;
        hash.add(buffer.data(), static_cast<std::size_t>(got));
        total += static_cast<std::uint64_t>(got);
        if (progress) progress(total);
    }
}

}  // namespace ruror::posix
