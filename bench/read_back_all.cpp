// The read-back half of the benchmark's baseline: reads every file below the
// folders given back from the drive, past the memory cache (O_DIRECT), in
// pieces of 8 MiB, one file after another, in one process, as a careful
// copier that checks its copies would. Where a file system refuses O_DIRECT
// the file's cached pages are dropped first and it is read plainly.
//
// Usage: ruror_read_back_all FOLDER...
// Prints the number of files and bytes read.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

constexpr std::size_t kPieceBytes = 8 << 20;
constexpr std::size_t kAlignment = 4096;

struct FreeAligned {
    void operator()(char* buffer) const { std::free(buffer); }
};

// Returns the bytes read, or -1.
long long readAll(const std::filesystem::path& file, char* buffer) {
    int fd = open(file.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC);
    if (fd < 0 && errno == EINVAL) {
        fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    }
    if (fd < 0) return -1;
    long long total = 0;
    for (;;) {
        const ssize_t n = pread(fd, buffer, kPieceBytes, total);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            close(fd);
            return n < 0 ? -1 : total;
        }
        total += n;
    }
}

}  // namespace

int main(int argc, char** argv) {
    void* memory = nullptr;
    if (posix_memalign(&memory, kAlignment, kPieceBytes) != 0) return 1;
    const std::unique_ptr<char, FreeAligned> buffer(static_cast<char*>(memory));
    long long files = 0, bytes = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) continue;
            const long long read = readAll(entry.path(), buffer.get());
            if (read < 0) {
                std::fprintf(stderr, "cannot read %s\n", entry.path().c_str());
                return 1;
            }
            ++files;
            bytes += read;
        }
    }
    std::printf("%lld files, %lld bytes\n", files, bytes);
    return 0;
}
