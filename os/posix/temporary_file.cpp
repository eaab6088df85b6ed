#include "os/posix/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "os/posix/system_failure.h"

namespace ruror::posix {
namespace {

constexpr const char* kPrefix = ".ruror-";
constexpr const char* kSuffix = ".tmp";

// A random part drawn once per process, then a counter: unique names
// without a system call for each.
std::string nextName() {
    static const std::uint64_t processPart = [] {
        std::uint64_t value = 0;
        if (getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value))
            value = (static_cast<std::uint64_t>(getpid()) << 32) ^ static_cast<std::uint64_t>(time(nullptr));
        return value;
    }();
    static std::uint32_t counter = 0;
    char hex[25];
    std::snprintf(hex, sizeof hex, "%016llx%08x", static_cast<unsigned long long>(processPart), ++counter);
    return std::string(kPrefix) + hex + kSuffix;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the name in the folder still refers to the open file.
bool nameStillRefersTo(int fd, const std::filesystem::path& path) {
    struct stat opened {};
    struct stat named {};
    return fstat(fd, &opened) == 0 && lstat(path.c_str(), &named) == 0 && sameFile(opened, named);
}

}  // namespace

TemporaryFile TemporaryFile::create(const std::filesystem::path& folder, int& error) {
    error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path path = folder / nextName();
        UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd.valid()) {
            if (errno == EEXIST) continue;
            error = errno;
            return {};
        }
        // Where the file system has no locks (some network shares), the file
        // goes unlocked: a later run then cannot lock it either, and leaves it.
        if (flock(fd.get(), LOCK_EX) != 0 && !notOffered(errno) && errno != ENOLCK && errno != EINVAL) {
            error = errno;
            unlink(path.c_str());
            return {};
        }
        // Another run may have taken the file for abandoned in the instant
        // before it was locked and removed it; then start again. (Names are
        // unique to this process, so a file of this name is this one.)
        struct stat created {};
        if (fstat(fd.get(), &created) == 0 && created.st_nlink > 0)
            return TemporaryFile(std::move(fd), std::move(path));
    }
    error = EEXIST;
    return {};
}

TemporaryFile::~TemporaryFile() {
    if (fd_.valid()) unlink(path_.c_str());
}

int TemporaryFile::renameTo(const std::filesystem::path& destination, bool replace) {
    if (replace) {
        if (rename(path_.c_str(), destination.c_str()) != 0) return errno;
    } else if (renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) return kNameTaken;
        if (errno != EINVAL && errno != ENOSYS) return errno;
        // The file system cannot rename without replacing: a hard link never
        // replaces, and where links are refused too the check comes just before.
        if (link(path_.c_str(), destination.c_str()) == 0) {
            unlink(path_.c_str());
        } else {
            struct stat existing {};
            if (errno == EEXIST || lstat(destination.c_str(), &existing) == 0) return kNameTaken;
            if (rename(path_.c_str(), destination.c_str()) != 0) return errno;
        }
    }
    fd_.reset();
    return 0;
}

bool TemporaryFile::isTemporaryName(const std::string& name) {
    const std::string prefix = kPrefix, suffix = kSuffix;
    return name.size() > prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void TemporaryFile::removeAbandoned(const std::filesystem::path& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        if (!isTemporaryName(entry->d_name)) continue;
        const std::filesystem::path path = folder / entry->d_name;
        UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        if (!fd.valid()) continue;
        struct stat st {};
        if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        // A run that is still writing holds the lock; an ended one cannot.
        if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        if (nameStillRefersTo(fd.get(), path)) unlink(path.c_str());
    }
    closedir(dir);
}

}  // namespace ruror::posix
