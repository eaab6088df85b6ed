#include "os/posix/read_back.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/hashed_transfer.h"
#include "os/posix/positional_io.h"
#include "os/posix/unique_fd.h"

namespace ruror::posix {

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
    return hashToEnd(
        [fd](char* piece, std::size_t capacity, std::uint64_t offset) { return readAt(fd, piece, capacity, offset); },
        static_cast<std::uint64_t>(st.st_size), hash, total, progress);
}

}  // namespace ruror::posix
