#include "os/posix/positional_io.h"

#include <unistd.h>

#include <cerrno>

#include "core/aligned_buffer.h"

namespace ruror::posix {

long long readAt(int fd, char* buffer, std::size_t size, std::uint64_t offset) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = pread(fd, buffer + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -errno;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        if (got % kBlockAlignment != 0) break;
    }
    return static_cast<long long>(got);
}

int writeAt(int fd, const char* data, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return 0;
}

}  // namespace ruror::posix
