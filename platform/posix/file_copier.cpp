#include "platform/posix/file_copier.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/posix/system_failure.h"
#include "platform/posix/temporary_file.h"
#include "platform/posix/unique_fd.h"

namespace ruror::posix {
namespace {

// Small enough that the window is told of progress several times a second
// even on a slow drive, large enough that the system calls cost nothing.
constexpr std::size_t kChunkBytes = 4 << 20;
constexpr std::size_t kBufferBytes = 1 << 20;

bool sameContentStamp(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

class ChunkCopier {
public:
    ChunkCopier(int in, int out, std::uint64_t expected, const CopyProgress& progress)
        : in_(in), out_(out), expected_(expected), progress_(progress) {}

    // Copies from the current offsets to the end of the source. Returns 0 or
    // an errno value, with failedOnWrite telling which side failed.
    int run(std::uint64_t& copied, bool& failedOnWrite) {
        copied = 0;
        bool offload = true;
        std::vector<char> buffer;
        for (;;) {
            ssize_t n = -1;
            if (offload) {
                n = copy_file_range(in_, nullptr, out_, nullptr, kChunkBytes, 0);
                if (n < 0 && copied == 0 && offloadUnavailable(errno)) {
                    offload = false;
                    continue;
                }
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) {
                    // copy_file_range does not tell which side failed: it is
                    // the source when that cannot be read any more.
                    const int error = errno;
                    failedOnWrite = sourceReadable();
                    return error;
                }
            } else {
                if (buffer.empty()) buffer.resize(kBufferBytes);
                n = readSome(buffer.data(), buffer.size());
                if (n < 0) {
                    failedOnWrite = false;
                    return errno;
                }
                if (n > 0 && !writeAll(buffer.data(), static_cast<std::size_t>(n))) {
                    failedOnWrite = true;
                    return errno;
                }
            }
            if (n == 0) return 0;
            copied += static_cast<std::uint64_t>(n);
            if (progress_) progress_(copied, std::max(copied, expected_));
        }
    }

private:
    static bool offloadUnavailable(int error) {
        return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EBADF;
    }

    bool sourceReadable() const {
        char probe;
        return pread(in_, &probe, 1, lseek(in_, 0, SEEK_CUR)) >= 0;
    }

    ssize_t readSome(char* data, std::size_t size) {
        for (;;) {
            const ssize_t n = read(in_, data, size);
            if (n >= 0 || errno != EINTR) return n;
        }
    }

    bool writeAll(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = write(out_, data, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    int in_;
    int out_;
    std::uint64_t expected_;
    const CopyProgress& progress_;
};

}  // namespace

Outcome copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress) {
    const std::string sourceText = quoted(source.string());
    const std::string destinationText = quoted(destination.string());

    // Non-blocking, so that a FIFO put in the file's place cannot hang the open.
    UniqueFd in(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in.valid()) return systemFailure(errno, "Abrir " + sourceText);
    struct stat before {};
    if (fstat(in.get(), &before) != 0) return systemFailure(errno, "Leer los datos de " + sourceText);
    if (!S_ISREG(before.st_mode)) return systemFailure(EINVAL, "Copiar " + sourceText + ", que no es un archivo");

    if (!overwrite) {
        struct stat existing {};
        if (lstat(destination.c_str(), &existing) == 0) return systemFailure(EEXIST, "Crear " + destinationText);
    }

    std::filesystem::path folder = destination.parent_path();
    if (folder.empty()) folder = ".";
    Outcome failure;
    TemporaryFile temporary = TemporaryFile::create(folder, failure);
    if (failure) return failure;

    // A clone shares the source's blocks where the file system offers it.
    if (ioctl(temporary.fd(), FICLONE, in.get()) != 0) {
        std::uint64_t copied = 0;
        bool failedOnWrite = true;
        if (const int error = ChunkCopier(in.get(), temporary.fd(), static_cast<std::uint64_t>(before.st_size),
                                          progress)
                                  .run(copied, failedOnWrite)) {
            return systemFailure(error, failedOnWrite ? "Escribir la copia de " + sourceText + " en " + destinationText
                                                      : "Leer " + sourceText);
        }
    } else if (progress) {
        progress(static_cast<std::uint64_t>(before.st_size), static_cast<std::uint64_t>(before.st_size));
    }

    struct stat after {};
    if (fstat(in.get(), &after) != 0) return systemFailure(errno, "Leer los datos de " + sourceText);
    struct stat written {};
    if (fstat(temporary.fd(), &written) != 0) return systemFailure(errno, "Leer los datos de la copia de " + sourceText);
    if (!sameContentStamp(before, after) || written.st_size != after.st_size) {
        Failure changed = systemFailure(EAGAIN, "Copiar " + sourceText);
        changed.description = "El archivo cambió mientras se copiaba";
        return changed;
    }

    if (fchmod(temporary.fd(), before.st_mode & 0777) != 0)
        return systemFailure(errno, "Dar los permisos a la copia de " + sourceText);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    if (futimens(temporary.fd(), times) != 0) return systemFailure(errno, "Dar la fecha a la copia de " + sourceText);
    if (fsync(temporary.fd()) != 0) return systemFailure(errno, "Guardar en el disco la copia de " + sourceText);

    return temporary.renameTo(destination, overwrite);
}

}  // namespace ruror::posix
