#include "os/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "core/answering_wait.h"
#include "os/posix/drive_limits.h"
#include "os/posix/posix_copy_source.h"
#include "os/posix/posix_copy_target.h"
#include "os/posix/system_failure.h"
#include "os/posix/temporary_file.h"
#include "os/posix/unique_fd.h"

namespace ruror::posix {
namespace {

constexpr const char* kListingPattern = "*.*";

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
    listingLinks_.clear();
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

std::vector<std::filesystem::path> PosixFileSystem::listingLinks() const { return listingLinks_; }

// The entry's kind comes with the listing on the usual file systems; only
// where it does not is the entry examined. A link is never followed: a link
// to the root or to its own folder would have the count run for ever.
std::vector<std::filesystem::path> PosixFileSystem::subFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> folders;
    UniqueFd folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    DIR* dir = folderFd.valid() ? fdopendir(folderFd.get()) : nullptr;
    if (dir == nullptr) return folders;
    static_cast<void>(folderFd.release());
    while (const dirent* entry = readdir(dir)) {
        if (isHidden(entry->d_name)) continue;
        bool within = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            within = fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (within) folders.emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::optional<FileStamp> PosixFileSystem::fileStamp(const std::filesystem::path& file) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) return std::nullopt;
    return stampOf(st);
}

void PosixFileSystem::startListing(const std::filesystem::path& folder, int attributes) {
    UniqueFd folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    DIR* dir = folderFd.valid() ? fdopendir(folderFd.get()) : nullptr;
    if (dir == nullptr) {
        // A folder that is not there, or is a file, is no failure: it has no
        // files. One that is a link is told by the listing that holds it.
        if (errno != ENOENT && errno != ENOTDIR && errno != ELOOP)
            listingFailures_.push_back(systemFailure(errno, "Leer la carpeta " + quoted(folder.string())));
        return;
    }
    static_cast<void>(folderFd.release());
    readListing(dir, folder, attributes);
    closedir(dir);  // closes the folder's descriptor too
    std::sort(listing_.begin(), listing_.end());
    std::sort(listingLinks_.begin(), listingLinks_.end());
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
        if (fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(st.st_mode)) {
                listingLinks_.emplace_back(entry->d_name);
            } else if (matches(st, attributes)) {
                listing_.emplace_back(entry->d_name);
            }
        } else if (errno != ENOENT) {
            // An entry the listing shows but that cannot be examined may be
            // a document: it is told, never passed over. A name that went
            // away in between holds nothing to copy.
            listingFailures_.push_back(systemFailure(errno, "Examinar " + quoted((folder / entry->d_name).string())));
        }
    }
}

bool PosixFileSystem::isFolder(const std::filesystem::path& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::isLink(const std::filesystem::path& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Another user who owns a tree folder, or may write into it, could plant a
// document of the same size and time as Quvetra's, which the backup then
// keeps as its copy, or replace the copies later.
TreeFolder PosixFileSystem::treeFolder(const std::filesystem::path& folder) {
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) return TreeFolder::Absent;
    if (S_ISLNK(st.st_mode)) return TreeFolder::Link;
    if (!S_ISDIR(st.st_mode)) return TreeFolder::NotAFolder;
    if (!keepsOwners(folder)) return TreeFolder::Usable;
    if (st.st_uid != 0 && st.st_uid != geteuid()) return TreeFolder::OwnedByAnother;
    if ((st.st_mode & S_IWOTH) != 0) return TreeFolder::WritableByOthers;
    return TreeFolder::Usable;
}

// What an ordinary user may still write: the blocks kept for root are not
// the backup's.
std::optional<std::uint64_t> PosixFileSystem::freeSpace(const std::filesystem::path& folder) {
    struct statvfs drive {};
    if (statvfs(folder.c_str(), &drive) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(drive.f_bavail) * drive.f_frsize;
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

// As private as Quvetra's own folder, and never open to every user's writing.
Outcome PosixFileSystem::createFolder(const std::filesystem::path& folder, const std::filesystem::path& likeFolder) {
    struct stat like {};
    const mode_t mode = stat(likeFolder.c_str(), &like) == 0 ? (like.st_mode & 0777 & ~S_IWOTH) : 0755;
    if (mkdir(folder.c_str(), mode | S_IRWXU) == 0) return std::nullopt;
    const std::string source = "Crear la carpeta " + quoted(folder.string());
    if (errno != EEXIST) return systemFailure(errno, source);
    // Only a folder of that name is one to keep; a file there is in the way,
    // and a link leads out of the tree.
    struct stat existing {};
    if (lstat(folder.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
        Failure link = systemFailure(ELOOP, source);
        link.description = "Ya existe un enlace con ese nombre, y el respaldo no lo sigue";
        return link;
    }
    if (S_ISDIR(existing.st_mode)) return destinationKept(source);
    Failure inTheWay = systemFailure(EEXIST, source);
    inTheWay.description = "Ya existe un archivo con ese nombre";
    return inTheWay;
}

Outcome PosixFileSystem::flushFolder(const std::filesystem::path& folder, const KeepAnswering& between) {
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

int PosixFileSystem::openSource(const std::filesystem::path& source, bool followLink, const KeepAnswering&,
                                std::unique_ptr<CopySource>& opened) {
    return PosixCopySource::open(source, followLink, opened);
}

Destination PosixFileSystem::destinationState(const std::filesystem::path& destination) {
    struct stat existing {};
    if (lstat(destination.c_str(), &existing) != 0) return Destination::Free;
    return S_ISDIR(existing.st_mode) ? Destination::Folder : Destination::File;
}

std::optional<std::uint64_t> PosixFileSystem::largestFileOn(const std::filesystem::path& folder) {
    return posix::largestFileOn(folder);
}

int PosixFileSystem::createCopy(const std::filesystem::path& folder, std::uint64_t size,
                                std::unique_ptr<CopyTarget>& created) {
    return PosixCopyTarget::create(folder, size, created);
}

// One copy is flushed alone. Many are put on the disk by one flush of each
// file system they were written to (a large one was written past the cache
// already): a syncfs costs what an fsync does, whatever the number of files.
std::vector<int> PosixFileSystem::flushTogether(const std::vector<CopyTarget*>& copies, const KeepAnswering& between) {
    std::vector<int> errors(copies.size(), 0);
    if (copies.size() == 1) errors[0] = copies[0]->flush(between);
    if (copies.size() <= 1) return errors;
    // The copies are those this file system created.
    std::map<dev_t, int> flushed;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const int fd = static_cast<PosixCopyTarget*>(copies[i])->fd();
        struct stat st {};
        if (fstat(fd, &st) != 0) {
            errors[i] = errno;
            continue;
        }
        if (flushed.count(st.st_dev) == 0)
            flushed[st.st_dev] = waitAnswering([fd] { return syncfs(fd) == 0 ? 0 : errno; }, between);
        errors[i] = flushed[st.st_dev];
    }
    return errors;
}

Failure PosixFileSystem::failure(int code, std::string source) const { return systemFailure(code, std::move(source)); }

int PosixFileSystem::errorCode(Refusal refusal) const {
    switch (refusal) {
        case Refusal::NotAFile: return EINVAL;
        case Refusal::IsAFolder: return EISDIR;
        case Refusal::NameTaken: return EEXIST;
        case Refusal::AccessDenied: return EACCES;
        case Refusal::Changed: return EAGAIN;
        case Refusal::TooLarge: return EFBIG;
        case Refusal::OnlyInTheCloud: return ENOMEDIUM;
    }
    return EIO;
}

}  // namespace ruror::posix
