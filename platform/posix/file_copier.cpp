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
#include "platform/posix/unique_fd.h"
#include "platform/posix/writeback_pacer.h"

namespace ruror::posix {
namespace {

// One chunk between two reports of progress: small enough that the window
// answers several times a second even on a slow drive.
constexpr std::size_t kChunkBytes = 2 << 20;
constexpr std::uint64_t kCloneFrom = 256 << 10;

bool sameContentStamp(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

bool offloadUnavailable(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EBADF;
}

// Copies a file's bytes from the current offsets to the end of the source,
// by kernel copy offload where the system has it, by read and write otherwise.
class ChunkCopier {
public:
    ChunkCopier(int in, int out, std::uint64_t expected, const CopyProgress& progress, WritebackPacer& pacer)
        : in_(in), out_(out), expected_(expected), progress_(progress), pacer_(pacer) {}

    // Returns 0 or an errno value, with failedOnWrite telling which side failed.
    int run(bool& failedOnWrite) {
        bool offload = true;
        std::vector<char> buffer;
        for (;;) {
            ssize_t n = -1;
            if (offload) {
                n = copy_file_range(in_, nullptr, out_, nullptr, kChunkBytes, 0);
                if (n < 0 && copied_ == 0 && offloadUnavailable(errno)) {
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
                if (buffer.empty()) buffer.resize(kChunkBytes);
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
            copied_ += static_cast<std::uint64_t>(n);
            if (const int error = pacer_.advance(copied_)) {
                failedOnWrite = true;
                return error;
            }
            // Progress counts what has reached the disk, so on a slow drive
            // the bar does not run ahead of it.
            if (progress_) progress_(pacer_.onDisk(), std::max(copied_, expected_));
        }
    }

private:
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
    WritebackPacer& pacer_;
    std::uint64_t copied_ = 0;
};

}  // namespace

Outcome PendingCopy::write(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress, PendingCopy& copy) {
    const std::string sourceText = quoted(source.string());
    const std::string destinationText = quoted(destination.string());

    // Non-blocking, so that a FIFO put in the file's place cannot hang the open.
    UniqueFd in(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in.valid()) return systemFailure(errno, "Abrir " + sourceText);
    struct stat before {};
    if (fstat(in.get(), &before) != 0) return systemFailure(errno, "Leer los datos de " + sourceText);
    if (!S_ISREG(before.st_mode)) return systemFailure(EINVAL, "Copiar " + sourceText + ", que no es un archivo");
    const auto size = static_cast<std::uint64_t>(before.st_size);
    // Read ahead further where a file spans several chunks: it is read once, in order.
    if (size > kChunkBytes) posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    if (!overwrite) {
        struct stat existing {};
        if (lstat(destination.c_str(), &existing) == 0) return destinationKept("Crear " + destinationText);
    }

    std::filesystem::path folder = destination.parent_path();
    if (folder.empty()) folder = ".";
    Outcome failure;
    TemporaryFile temporary = TemporaryFile::create(folder, failure);
    if (failure) {
        failure->source = "Crear la copia de " + sourceText + " en " + quoted(folder.string());
        return failure;
    }

    // A clone shares the source's blocks where the file system offers it;
    // for a small file the attempt would cost more than it saves.
    WritebackPacer pacer(temporary.fd());
    if (size < kCloneFrom || ioctl(temporary.fd(), FICLONE, in.get()) != 0) {
        bool failedOnWrite = true;
        if (const int error = ChunkCopier(in.get(), temporary.fd(), size, progress, pacer).run(failedOnWrite)) {
            return systemFailure(error, failedOnWrite ? "Escribir la copia de " + sourceText + " en " + destinationText
                                                      : "Leer " + sourceText);
        }
        if (const int error = pacer.finish())
            return systemFailure(error, "Escribir la copia de " + sourceText + " en " + destinationText);
    } else if (progress) {
        progress(size, size);
    }

    struct stat after {};
    if (fstat(in.get(), &after) != 0) return systemFailure(errno, "Leer los datos de " + sourceText);
    struct stat written {};
    if (fstat(temporary.fd(), &written) != 0)
        return systemFailure(errno, "Leer los datos de la copia de " + sourceText);
    if (!sameContentStamp(before, after) || written.st_size != after.st_size) {
        Failure changed = systemFailure(EAGAIN, "Copiar " + sourceText);
        changed.description = "El archivo cambió mientras se copiaba";
        return changed;
    }

    // Permission bits and times are kept where the file system can hold
    // them; a FAT drive has no permission bits, and refusing it would refuse
    // the most common backup drive there is.
    if (fchmod(temporary.fd(), before.st_mode & 0777) != 0 && !notOffered(errno) && errno != EPERM)
        return systemFailure(errno, "Dar los permisos a la copia de " + sourceText);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    if (futimens(temporary.fd(), times) != 0 && !notOffered(errno))
        return systemFailure(errno, "Dar la fecha a la copia de " + sourceText);

    copy.file_ = std::move(temporary);
    copy.source_ = source;
    copy.destination_ = destination;
    copy.size_ = size;
    copy.device_ = written.st_dev;
    copy.pacer_ = pacer;
    return std::nullopt;
}

Outcome PendingCopy::waitForData(const CopyProgress& progress) {
    // The data still on its way goes a piece at a time, so the window answers
    // between pieces; a flush then finds almost nothing left.
    if (const int error = pacer_.drain([&] {
            if (progress) progress(pacer_.onDisk(), size_);
        })) {
        return systemFailure(error, "Guardar en el disco la copia de " + quoted(source_.string()));
    }
    return std::nullopt;
}

Outcome PendingCopy::flush(const CopyProgress& progress) {
    if (Outcome failure = waitForData(progress)) return failure;
    if (fsync(file_.fd()) != 0)
        return systemFailure(errno, "Guardar en el disco la copia de " + quoted(source_.string()));
    return std::nullopt;
}

Outcome PendingCopy::place(bool replace) { return file_.renameTo(destination_, replace); }

Outcome copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress) {
    PendingCopy copy;
    if (Outcome failure = PendingCopy::write(source, destination, overwrite, progress, copy)) return failure;
    if (Outcome failure = copy.flush(progress)) return failure;
    return copy.place(overwrite);
}

}  // namespace ruror::posix
