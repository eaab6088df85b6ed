#include "platform/posix/file_copier.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/answering_wait.h"
#include "platform/posix/drive_limits.h"
#include "platform/posix/read_back.h"
#include "platform/posix/system_failure.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/writeback_pacer.h"

namespace ruror::posix {
namespace {

// One chunk between two reports of progress: small enough that the window
// answers several times a second even on a slow drive.
constexpr std::size_t kChunkBytes = 2 << 20;

bool sameContentStamp(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The answers of copy_file_range that mean "not offered between these two
// files": sandboxes and some file systems refuse it with EPERM, ETXTBSY or
// ENOTTY rather than with the documented codes.
bool offloadUnavailable(int error) {
    switch (error) {
        case EXDEV:
        case EINVAL:
        case ENOSYS:
        case EOPNOTSUPP:
        case EBADF:
        case EPERM:
        case ETXTBSY:
        case ENOTTY: return true;
        default: return false;
    }
}

// A failed step of a copy: the errno value and which side it failed on.
struct CopyError {
    int error = 0;
    bool onWrite = true;
};

// Copies a file's bytes from the current offsets to the end of the source,
// by kernel copy offload where the system has it, by read and write otherwise.
class ChunkCopier {
public:
    // With a hash, the bytes pass through the program, which hashes them as
    // they go: the kernel's copy offload would never show them.
    ChunkCopier(int in, int out, std::uint64_t expected, const CopyProgress& progress, WritebackPacer& pacer,
                ContentHash* hash)
        : in_(in),
          out_(out),
          expected_(expected),
          progress_(progress),
          pacer_(pacer),
          hash_(hash),
          offload_(hash == nullptr) {}

    // An error value of 0 when the whole source was copied.
    CopyError run() {
        for (;;) {
            // The size known at the start is all there is to copy; a source
            // that grew meanwhile is caught when its size is checked again.
            if (expected_ > 0 && copied_ >= expected_) return {};
            ssize_t n = 0;
            if (const CopyError failed = nextChunk(n); failed.error != 0) return failed;
            if (n < 0) continue;  // interrupted, or offload turned off: try again
            if (n == 0) return {};
            if (const CopyError failed = advance(static_cast<std::uint64_t>(n)); failed.error != 0) return failed;
        }
    }

private:
    // Copies one chunk; n is its size, 0 at the end, -1 when it must be tried again.
    CopyError nextChunk(ssize_t& n) {
        if (!offload_) return readAndWrite(n);
        n = copy_file_range(in_, nullptr, out_, nullptr, kChunkBytes, 0);
        if (n >= 0) return {};
        const int error = errno;
        if (copied_ == 0 && offloadUnavailable(error)) {
            offload_ = false;
            return {};
        }
        if (error == EINTR) return {};
        // copy_file_range does not tell which side failed: it is the source
        // when that cannot be read any more.
        return {error, sourceReadable()};
    }

    CopyError readAndWrite(ssize_t& n) {
        if (buffer_.empty()) buffer_.resize(kChunkBytes);
        n = read(in_, buffer_.data(), buffer_.size());
        if (n < 0) return errno == EINTR ? CopyError{} : CopyError{errno, false};
        if (hash_ && n > 0) hash_->add(buffer_.data(), static_cast<std::size_t>(n));
        if (n > 0 && !writeAll(buffer_.data(), static_cast<std::size_t>(n))) return {errno, true};
        return {};
    }

    CopyError advance(std::uint64_t chunk) {
        copied_ += chunk;
        if (const int error = pacer_.advance(copied_)) return {error, true};
        // Progress counts what has reached the disk, so on a slow drive the
        // bar does not run ahead of it; the reading back is the second half.
        if (progress_) progress_(pacer_.onDisk(), 2 * std::max(copied_, expected_));
        return {};
    }

    bool sourceReadable() const {
        char probe;
        return pread(in_, &probe, 1, lseek(in_, 0, SEEK_CUR)) >= 0;
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
    ContentHash* hash_;
    bool offload_;
    std::vector<char> buffer_;
    std::uint64_t copied_ = 0;
};

// Opens a source for reading only, and checks that it is a plain file.
// Non-blocking, so that a FIFO put in the file's place cannot hang the open.
Outcome openSource(const std::filesystem::path& source, UniqueFd& in, struct stat& before) {
    const std::string sourceText = quoted(source.string());
    in = UniqueFd(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in.valid()) return systemFailure(errno, "Abrir " + sourceText);
    if (fstat(in.get(), &before) != 0) return systemFailure(errno, "Leer los datos de " + sourceText);
    if (!S_ISREG(before.st_mode)) return systemFailure(EINVAL, "Copiar " + sourceText + ", que no es un archivo");
    // Read ahead further where a file spans several chunks: it is read once, in order.
    if (static_cast<std::uint64_t>(before.st_size) > kChunkBytes) posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::nullopt;
}

// What stands under the destination's name before anything is written: a
// file to keep, without overwrite, or a folder, which no copy may replace.
Outcome checkDestination(const std::filesystem::path& destination, bool overwrite) {
    struct stat existing {};
    if (lstat(destination.c_str(), &existing) != 0) return std::nullopt;
    const std::string destinationText = quoted(destination.string());
    if (S_ISDIR(existing.st_mode)) {
        Failure folder = systemFailure(EISDIR, "Crear " + destinationText);
        folder.description = "Ya existe una carpeta con ese nombre";
        return folder;
    }
    if (!overwrite) return destinationKept("Crear " + destinationText);
    return std::nullopt;
}

// Writes the source's bytes into the temporary file in chunks, hashing them
// on the way for the reading back. (A clone that shared the source's blocks
// would leave nothing of the drive's to check.)
Outcome copyContent(int in, int out, std::uint64_t size, const CopyProgress& progress, WritebackPacer& pacer,
                    ContentHash& hash, const std::string& sourceText, const std::string& destinationText) {
    const std::string writing = "Escribir la copia de " + sourceText + " en " + destinationText;
    if (const CopyError failed = ChunkCopier(in, out, size, progress, pacer, &hash).run(); failed.error != 0)
        return systemFailure(failed.error, failed.onWrite ? writing : "Leer " + sourceText);
    // A large file's data starts for the disk at once, so it goes while the
    // next files are copied. Small files are left to the flush of their
    // batch, which writes them together: starting each one alone cost the
    // data centre's many small documents a third more time.
    if (size >= kChunkBytes) {
        if (const int error = pacer.finish()) return systemFailure(error, writing);
    }
    return std::nullopt;
}

// A source that changed while it was read gives a torn copy, never kept.
// Tells the device the copy is written on.
Outcome checkUnchanged(int in, int out, const struct stat& before, const std::string& sourceText, dev_t& device) {
    struct stat after {};
    if (fstat(in, &after) != 0) return systemFailure(errno, "Leer los datos de " + sourceText);
    struct stat written {};
    if (fstat(out, &written) != 0) return systemFailure(errno, "Leer los datos de la copia de " + sourceText);
    device = written.st_dev;
    if (sameContentStamp(before, after) && written.st_size == after.st_size) return std::nullopt;
    Failure changed = systemFailure(EAGAIN, "Copiar " + sourceText);
    changed.description = "El archivo cambió mientras se copiaba";
    return changed;
}

// Permission bits and times are kept where the file system can hold them;
// a FAT drive has no permission bits, and refusing it would refuse the most
// common backup drive there is.
Outcome keepModeAndTimes(int out, const struct stat& source, const std::string& sourceText) {
    if (fchmod(out, source.st_mode & 0777) != 0 && !notOffered(errno) && errno != EPERM)
        return systemFailure(errno, "Dar los permisos a la copia de " + sourceText);
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (futimens(out, times) != 0 && !notOffered(errno))
        return systemFailure(errno, "Dar la fecha a la copia de " + sourceText);
    return std::nullopt;
}

// A drive that cannot hold a file that large (a FAT stick and a file of
// 4 GiB or more) is told so before a byte is written.
Outcome checkFitsOnDrive(const std::filesystem::path& destination, std::uint64_t size, const std::string& sourceText) {
    if (size <= kLargestFatFile) return std::nullopt;
    const std::filesystem::path folder = destination.parent_path();
    const std::optional<std::uint64_t> largest = largestFileOn(folder);
    if (!largest || size <= *largest) return std::nullopt;
    Failure tooLarge = systemFailure(EFBIG, "Copiar " + sourceText + " en " + quoted(folder.string()));
    tooLarge.description = kTooLargeForFat;
    return tooLarge;
}

Outcome createTemporaryFor(const std::filesystem::path& destination, const std::string& sourceText,
                           TemporaryFile& temporary) {
    std::filesystem::path folder = destination.parent_path();
    if (folder.empty()) folder = ".";
    Outcome failure;
    temporary = TemporaryFile::create(folder, failure);
    if (failure) failure->source = "Crear la copia de " + sourceText + " en " + quoted(folder.string());
    return failure;
}

}  // namespace

Outcome PendingCopy::write(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress, PendingCopy& copy) {
    const std::string sourceText = quoted(source.string());
    UniqueFd in;
    struct stat before {};
    if (Outcome failure = openSource(source, in, before)) return failure;
    if (Outcome failure = checkDestination(destination, overwrite)) return failure;
    if (Outcome failure = checkFitsOnDrive(destination, static_cast<std::uint64_t>(before.st_size), sourceText))
        return failure;
    TemporaryFile temporary;
    if (Outcome failure = createTemporaryFor(destination, sourceText, temporary)) return failure;

    const auto size = static_cast<std::uint64_t>(before.st_size);
    WritebackPacer pacer(temporary.fd());
    ContentHash hash;
    if (Outcome failure = copyContent(in.get(), temporary.fd(), size, progress, pacer, hash, sourceText,
                                      quoted(destination.string()))) {
        return failure;
    }
    dev_t device = 0;
    if (Outcome failure = checkUnchanged(in.get(), temporary.fd(), before, sourceText, device)) return failure;
    if (Outcome failure = keepModeAndTimes(temporary.fd(), before, sourceText)) return failure;

    copy.file_ = std::move(temporary);
    copy.source_ = source;
    copy.destination_ = destination;
    copy.size_ = size;
    copy.sourceDigest_ = hash.digest();
    copy.device_ = device;
    copy.pacer_ = pacer;
    return std::nullopt;
}

Outcome PendingCopy::waitForData(const CopyProgress& progress) {
    // The data still on its way goes a piece at a time, so the window answers
    // between pieces; a flush then finds almost nothing left.
    if (const int error = pacer_.drain([&] {
            if (progress) progress(pacer_.onDisk(), 2 * size_);
        })) {
        return systemFailure(error, "Guardar en el disco la copia de " + quoted(source_.string()));
    }
    return std::nullopt;
}

Outcome PendingCopy::flush(const CopyProgress& progress) {
    if (Outcome failure = waitForData(progress)) return failure;
    const int fd = file_.fd();
    const auto between = [this, &progress] {
        if (progress) progress(size_, 2 * size_);
    };
    if (const int error = waitAnswering([fd] { return fsync(fd) == 0 ? 0 : errno; }, between))
        return systemFailure(error, "Guardar en el disco la copia de " + quoted(source_.string()));
    return std::nullopt;
}

Outcome PendingCopy::verify(const CopyProgress& progress) {
    const std::string checking =
        "Comprobar la copia de " + quoted(source_.string()) + " en " + quoted(destination_.parent_path().string());
    ReadBack readBack(file_);
    ContentHash hash;
    std::uint64_t total = 0;
    if (const int error = readBack.run(hash, total, [&](std::uint64_t done) {
            if (progress) progress(size_ + done, 2 * size_);
        })) {
        return systemFailure(error, checking);
    }
    if (total == size_ && hash.digest() == sourceDigest_) return std::nullopt;
    return Failure{kCopyReadBackDiffers, kReadBackDiffers, checking};
}

Outcome PendingCopy::place(bool replace) { return file_.renameTo(destination_, replace); }

Outcome copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress) {
    PendingCopy copy;
    if (Outcome failure = PendingCopy::write(source, destination, overwrite, progress, copy)) return failure;
    if (Outcome failure = copy.flush(progress)) return failure;
    if (Outcome failure = copy.verify(progress)) return failure;
    return copy.place(overwrite);
}

}  // namespace ruror::posix
