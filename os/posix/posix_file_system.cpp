#include "os/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "core/answering_wait.h"
#include "os/posix/file_copier.h"
#include "os/posix/system_failure.h"
#include "os/posix/temporary_file.h"
#include "os/posix/unique_fd.h"

namespace ruror::posix {
namespace {

constexpr const char* kListingPattern = "*.*";
// Staged copies keep their temporary files open (and locked); this many at
// most, well under the usual limit of open files.
constexpr std::size_t kMostStaged = 128;

bool isHidden(const std::string& name) { return name.empty() || name.front() == '.'; }

// Plain files always match; folders only where the mask asks for them.
// Anything else (FIFOs, sockets, devices, dangling links) never does.
bool matches(const struct stat& st, int attributes) {
    if (S_ISREG(st.st_mode)) return true;
    return S_ISDIR(st.st_mode) && (attributes & attribute::kDirectory) != 0;
}

std::filesystem::path runningExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path();
    return executable.parent_path();
}

}  // namespace

PosixFileSystem::PosixFileSystem() : PosixFileSystem(runningExecutableFolder()) {}

PosixFileSystem::PosixFileSystem(std::filesystem::path programFolder) : programFolder_(std::move(programFolder)) {}

std::filesystem::path PosixFileSystem::programFolder() const { return programFolder_; }

std::filesystem::path PosixFileSystem::findFirst(const std::filesystem::path& pathOrPattern, int attributes) {
    listing_.clear();
    next_ = 0;
    listingFailures_.clear();
    if (pathOrPattern.filename() == kListingPattern) {
        startListing(pathOrPattern.parent_path(), attributes);
        return findNext();
    }
    std::filesystem::path name = pathOrPattern.filename();
    if (isHidden(name.string())) return {};
    struct stat st {};
    if (stat(pathOrPattern.c_str(), &st) != 0 || !matches(st, attributes)) return {};
    return name;
}

std::filesystem::path PosixFileSystem::findNext() {
    if (next_ >= listing_.size()) return {};
    return listing_[next_++];
}

std::vector<Failure> PosixFileSystem::listingFailures() const { return listingFailures_; }

// The entry's kind comes with the listing on the usual file systems; only
// where it does not (or for a link) is the entry examined.
std::vector<std::filesystem::path> PosixFileSystem::subFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> folders;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return folders;
    while (const dirent* entry = readdir(dir)) {
        if (isHidden(entry->d_name)) continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st {};
            isFolder = fstatat(dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder) folders.emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::optional<FileStamp> PosixFileSystem::fileStamp(const std::filesystem::path& file) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) return std::nullopt;
    constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
    return FileStamp{static_cast<std::uint64_t>(st.st_size),
                     static_cast<std::int64_t>(st.st_mtim.tv_sec) * kNanosecondsPerSecond + st.st_mtim.tv_nsec};
}

void PosixFileSystem::startListing(const std::filesystem::path& folder, int attributes) {
    UniqueFd folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* dir = folderFd.valid() ? fdopendir(folderFd.get()) : nullptr;
    if (dir == nullptr) {
        // A folder that is not there, or is a file, is no failure: it has no files.
        if (errno != ENOENT && errno != ENOTDIR)
            listingFailures_.push_back(systemFailure(errno, "Leer la carpeta " + quoted(folder.string())));
        return;
    }
    static_cast<void>(folderFd.release());
    readListing(dir, folder, attributes);
    closedir(dir);  // closes the folder's descriptor too
    std::sort(listing_.begin(), listing_.end());
}

void PosixFileSystem::readListing(DIR* dir, const std::filesystem::path& folder, int attributes) {
    const int fd = dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (entry == nullptr) {
            if (errno != 0)
                listingFailures_.push_back(systemFailure(errno, "Leer la carpeta " + quoted(folder.string())));
            return;
        }
        if (isHidden(entry->d_name)) continue;
        struct stat st {};
        if (fstatat(fd, entry->d_name, &st, 0) == 0) {
            if (matches(st, attributes)) listing_.emplace_back(entry->d_name);
        } else if (errno != ENOENT && errno != ELOOP) {
            // An entry the listing shows but that cannot be examined may be
            // a document: it is told, never passed over. A name that went
            // away in between, a dangling link or a loop of links holds
            // nothing to copy.
            listingFailures_.push_back(systemFailure(errno, "Examinar " + quoted((folder / entry->d_name).string())));
        }
    }
}

// Folders are compared by what they are (device and inode), not by how they
// are written, so the data centre reached through a link or a bind mount is
// still the data centre. Links are resolved first, so that the parents
// walked are the real ones.
bool PosixFileSystem::liesWithin(const std::filesystem::path& folder, const std::filesystem::path& container) {
    struct stat target {};
    if (stat(container.c_str(), &target) != 0) return false;
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, error);
    if (error) resolved = folder.lexically_normal();
    for (std::filesystem::path part = resolved;; part = part.parent_path()) {
        struct stat found {};
        if (stat(part.c_str(), &found) == 0 && found.st_dev == target.st_dev && found.st_ino == target.st_ino)
            return true;
        if (part == part.parent_path() || part.empty()) return false;
    }
}

// POSIX has no sharing rules: any program may write into any file it can
// open, and none can be kept out.
WriterHold PosixFileSystem::keepWritersOut(const std::filesystem::path&) { return WriterHold::Unknown; }

void PosixFileSystem::letWritersIn() {}

Outcome PosixFileSystem::createFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0777) == 0) return std::nullopt;
    const std::string source = "Crear la carpeta " + quoted(folder.string());
    if (errno != EEXIST) return systemFailure(errno, source);
    // Only a folder of that name is one to keep; a file there is in the way.
    struct stat existing {};
    if (stat(folder.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return destinationKept(source);
    Failure inTheWay = systemFailure(EEXIST, source);
    inTheWay.description = "Ya existe un archivo con ese nombre";
    return inTheWay;
}

Outcome PosixFileSystem::copyFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                                  bool overwrite, const CopyProgress& progress) {
    return copyFileAtomically(source, destination, overwrite, progress);
}

Outcome PosixFileSystem::stageCopy(const std::filesystem::path& source, const std::filesystem::path& destination,
                                   const CopyProgress& progress) {
    PendingCopy copy;
    if (Outcome failure = PendingCopy::write(source, destination, false, progress, copy)) return failure;
    staged_.push_back(std::move(copy));
    if (staged_.size() >= kMostStaged) placeStagedCopies(progress);
    return std::nullopt;
}

std::vector<Failure> PosixFileSystem::commitCopies(const CopyProgress& progress) {
    placeStagedCopies(progress);
    return std::exchange(commitFailures_, {});
}

void PosixFileSystem::placeStagedCopies(const CopyProgress& progress) {
    // One flush of each file system written to puts the staged copies on the
    // disk together (a large one was written past the cache already), and
    // only then may any copy take its final name.
    std::set<dev_t> flushed;
    for (const PendingCopy& copy : staged_) {
        if (flushed.count(copy.device())) continue;
        const int fd = copy.fd();
        const auto between = [&progress] {
            if (progress) progress(0, 0);
        };
        if (const int error = waitAnswering([fd] { return syncfs(fd) == 0 ? 0 : errno; }, between)) {
            const Failure failure = systemFailure(
                error, "Guardar en el disco la carpeta " + quoted(copy.destination().parent_path().string()));
            for (const PendingCopy& lost : staged_) {
                Failure each = failure;
                each.source = "Guardar en el disco " + quoted(lost.destination().string());
                commitFailures_.push_back(each);
            }
            staged_.clear();
            return;
        }
        flushed.insert(copy.device());
    }
    // Each copy is read back from the drive before it takes its name.
    for (PendingCopy& copy : staged_) {
        Outcome failure = copy.verify(progress);
        if (!failure) failure = copy.place(false);
        if (failure) commitFailures_.push_back(*failure);
    }
    staged_.clear();
}

Outcome PosixFileSystem::flushFolder(const std::filesystem::path& folder, const std::function<void()>& between) {
    UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return systemFailure(errno, "Guardar en el disco la carpeta " + quoted(folder.string()));
    const int error = waitAnswering([&fd] { return fsync(fd.get()) == 0 ? 0 : errno; }, between);
    // A file system that cannot flush a folder on its own (FUSE, some network
    // drives) wrote its entries with the files' own flushes.
    if (error != 0 && !notOffered(error) && error != EINVAL)
        return systemFailure(error, "Guardar en el disco la carpeta " + quoted(folder.string()));
    return std::nullopt;
}

void PosixFileSystem::removeAbandonedTemporaryFiles(const std::filesystem::path& folder) {
    TemporaryFile::removeAbandoned(folder);
}

}  // namespace ruror::posix
