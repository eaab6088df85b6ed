#include "platform/posix/read_back.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/posix/unique_fd.h"

namespace ruror::posix {
namespace {

constexpr std::size_t kPieceBytes = 2 << 20;
// Reads past the cache need buffers, offsets and sizes aligned to the
// drive's blocks; a page covers every usual block size.
constexpr std::size_t kAlignment = 4096;

struct FreeAligned {
    void operator()(char* buffer) const { std::free(buffer); }
};

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
    void* memory = nullptr;
    if (posix_memalign(&memory, kAlignment, kPieceBytes) != 0) return ENOMEM;
    const std::unique_ptr<char, FreeAligned> buffer(static_cast<char*>(memory));
    for (;;) {
        const ssize_t n = pread(fd, buffer.get(), kPieceBytes, static_cast<off_t>(total));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        hash.add(buffer.get(), static_cast<std::size_t>(n));
        total += static_cast<std::uint64_t>(n);
        if (progress) progress(total);
    }
}

}  // namespace ruror::posix
