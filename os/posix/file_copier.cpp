#include "os/posix/file_copier.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "core/answering_wait.h"
#include "os/posix/content_copy.h"
#include "os/posix/drive_limits.h"
#include "os/posix/read_back.h"
#include "os/posix/system_failure.h"
#include "os/posix/unique_fd.h"

namespace ruror::posix {
namespace {

bool sameContentStamp(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Opens a source for reading only, and checks that it is a plain file.
// Non-blocking, so that a FIFO put in the file's place cannot hang the open.
Outcome openSource(const std::filesystem::path& source, UniqueFd& in, struct stat& before) {
    const std::string sourceText = quoted(source.string());
    in = UniqueFd(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in.valid()) return systemFailure(errno, "Abrir " + sourceText);
    if (fstat(in.get(), &before) != 0) return systemFailure(errno, "Leer los datos de " + sourceText);
    if (!S_ISREG(before.st_mode)) return systemFailure(EINVAL, "Copiar " + sourceText + ", que no es un archivo");
    // Read ahead further: a file is read once, in order.
    posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
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
    ContentHash hash;
    // A clone that shared the source's blocks would leave nothing of the
    // drive's to check: the bytes pass through the program and its hash.
    if (const ContentFailure failed = copyContent(in.get(), temporary.fd(), size, hash, progress); failed.error != 0) {
        return systemFailure(
            failed.error, failed.onWrite ? "Escribir la copia de " + sourceText + " en " + quoted(destination.string())
                                         : "Leer " + sourceText);
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
    return std::nullopt;
}

Outcome PendingCopy::flush(const CopyProgress& progress) {
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
