#include "os/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "core/answering_wait.h"
#include "core/windows_paths.h"
#include "os/win32/extended_path.h"
#include "os/win32/reparse_links.h"
#include "os/win32/unique_handle.h"
#include "os/win32/win32_copy_source.h"
#include "os/win32/win32_copy_target.h"
#include "os/win32/windows_failure.h"

namespace ruror::win32 {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kListingPattern = L"*.*";

std::wstring longForm(const fs::path& path) { return extendedLengthPath(path.wstring()); }

// Plain files (read-only and archive ones included) always match; folders,
// hidden and system entries only where the mask asks for them.
bool matches(DWORD found, int attributes) {
    if ((found & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & attribute::kDirectory)) return false;
    if ((found & FILE_ATTRIBUTE_HIDDEN) && !(attributes & attribute::kHidden)) return false;
    if ((found & FILE_ATTRIBUTE_SYSTEM) && !(attributes & attribute::kSystem)) return false;
    return true;
}

fs::path runningProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // A drive root keeps its separator: "C:\ruror.exe" gives "C:\".
    return fs::path(path).parent_path();
}

// What a file or folder is, whatever path leads to it: its volume and its
// index there.
struct Identity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const Identity&) const = default;
};

std::optional<Identity> identityOf(const fs::path& path, std::wstring* finalPath = nullptr) {
    UniqueHandle handle(CreateFileW(longForm(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
    if (finalPath != nullptr) {
        std::wstring found(32768, L'\0');
        found.resize(GetFinalPathNameByHandleW(handle.get(), found.data(), static_cast<DWORD>(found.size()),
                                               FILE_NAME_NORMALIZED));
        *finalPath = found;
    }
    return Identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Whether the folder or one of its parents is the one of that identity.
bool anyParentIs(const fs::path& folder, const Identity& target) {
    for (fs::path part = folder;; part = part.parent_path()) {
        if (identityOf(part) == target) return true;
        if (part == part.parent_path() || part.empty()) return false;
    }
}

}  // namespace

Win32FileSystem::Win32FileSystem() : Win32FileSystem(runningProgramFolder()) {}

Win32FileSystem::Win32FileSystem(fs::path programFolder) : programFolder_(std::move(programFolder)) {}

fs::path Win32FileSystem::programFolder() const { return programFolder_; }

fs::path Win32FileSystem::findFirst(const fs::path& pathOrPattern, int attributes) {
    listing_.clear();
    next_ = 0;
    listingFailures_.clear();
    listingLinks_.clear();
    if (pathOrPattern.filename() == kListingPattern) {
        startListing(pathOrPattern.parent_path(), attributes);
        return findNext();
    }
    const DWORD found = GetFileAttributesW(longForm(pathOrPattern).c_str());
    if (found == INVALID_FILE_ATTRIBUTES || !matches(found, attributes)) return {};
    return pathOrPattern.filename();
}

fs::path Win32FileSystem::findNext() {
    if (next_ >= listing_.size()) return {};
    return listing_[next_++];
}

void Win32FileSystem::startListing(const fs::path& folder, int attributes) {
    // A folder that is a link is told by the listing that holds it.
    if (linkAt(folder)) return;
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW(longForm(folder / kListingPattern).c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        // A folder that is not there has no files.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_DIRECTORY)
            listingFailures_.push_back(windowsFailure(error, "Leer la carpeta " + quoted(folder.wstring())));
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (win32::isLink(entry.dwFileAttributes, entry.dwReserved0)) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) listingLinks_.emplace_back(name);
        } else if (matches(entry.dwFileAttributes, attributes)) {
            listing_.emplace_back(name);
        }
    } while (FindNextFileW(find, &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES)
        listingFailures_.push_back(windowsFailure(error, "Leer la carpeta " + quoted(folder.wstring())));
    FindClose(find);
}

std::vector<Failure> Win32FileSystem::listingFailures() const { return listingFailures_; }

std::vector<fs::path> Win32FileSystem::listingLinks() const {
    std::vector<fs::path> links = listingLinks_;
    std::sort(links.begin(), links.end());
    return links;
}

std::vector<fs::path> Win32FileSystem::subFolders(const fs::path& folder) {
    std::vector<fs::path> folders;
    if (linkAt(folder)) return folders;
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW(longForm(folder / kListingPattern).c_str(), FindExInfoBasic, &entry,
                                   FindExSearchLimitToDirectories, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return folders;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L".." || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            win32::isLink(entry.dwFileAttributes, entry.dwReserved0)) {
            continue;
        }
        if (matches(entry.dwFileAttributes, attribute::kDirectory)) folders.emplace_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return folders;
}

std::optional<FileStamp> Win32FileSystem::fileStamp(const fs::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(longForm(file).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return stampOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

bool Win32FileSystem::isFolder(const fs::path& path) {
    const DWORD found = GetFileAttributesW(longForm(path).c_str());
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::isLink(const fs::path& path) { return linkAt(path); }

// Windows keeps who may write a folder in its access lists, which a folder
// made here inherits from where it is made: only a link is refused.
TreeFolder Win32FileSystem::treeFolder(const fs::path& folder) {
    const DWORD found = GetFileAttributesW(longForm(folder).c_str());
    if (found == INVALID_FILE_ATTRIBUTES) return TreeFolder::Absent;
    if (linkAt(folder)) return TreeFolder::Link;
    return (found & FILE_ATTRIBUTE_DIRECTORY) ? TreeFolder::Usable : TreeFolder::NotAFolder;
}

// What this user may write there, quotas counted.
std::optional<std::uint64_t> Win32FileSystem::freeSpace(const fs::path& folder) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(longForm(folder).c_str(), &available, nullptr, nullptr)) return std::nullopt;
    return available.QuadPart;
}

// Folders are compared by what they are (volume and file index), not by how
// they are written, so the data centre reached through another drive letter,
// a mapped share or a link is still the data centre. The parents are walked
// as written, and also as the system finally names the deepest one that
// exists (links and substituted drives resolved).
bool Win32FileSystem::liesWithin(const fs::path& folder, const fs::path& container) {
    const std::optional<Identity> target = identityOf(container);
    if (!target) return false;
    const fs::path written(windows_paths::normalisedFullPath(folder.wstring()));
    if (anyParentIs(written, *target)) return true;
    fs::path existing = written;
    std::wstring finalPath;
    while (!identityOf(existing, &finalPath) && existing != existing.parent_path()) existing = existing.parent_path();
    return !finalPath.empty() && anyParentIs(fs::path(finalPath), *target);
}

// Opened for reading, sharing reading alone: while this handle lives, no
// program can open the file for writing, and one that has it open for
// writing now makes the open fail.
WriterHold Win32FileSystem::keepWritersOut(const fs::path& file) {
    keptFromWriters_.reset();
    UniqueHandle held(
        CreateFileW(longForm(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (held.valid()) {
        keptFromWriters_ = std::move(held);
        return WriterHold::Held;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return WriterHold::WrittenByAnother;
    return WriterHold::Unknown;
}

void Win32FileSystem::letWritersIn() { keptFromWriters_.reset(); }

// A new folder takes the access list its parent hands down, as every
// folder made on Windows does.
Outcome Win32FileSystem::createFolder(const fs::path& folder, const fs::path&) {
    if (CreateDirectoryW(longForm(folder).c_str(), nullptr)) return std::nullopt;
    const DWORD error = GetLastError();
    const std::string source = "Crear la carpeta " + quoted(folder.wstring());
    if (error != ERROR_ALREADY_EXISTS) return windowsFailure(error, source);
    // Only a folder of that name is one to keep; a file there is in the way,
    // and a link or junction leads out of the tree.
    if (linkAt(folder)) {
        Failure link = windowsFailure(kStoppedOnLink, source);
        link.description = "Ya existe un enlace con ese nombre, y el respaldo no lo sigue";
        return link;
    }
    const DWORD existing = GetFileAttributesW(longForm(folder).c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) return destinationKept(source);
    Failure inTheWay = windowsFailure(error, source);
    inTheWay.description = "Ya existe un archivo con ese nombre";
    return inTheWay;
}

Outcome Win32FileSystem::flushFolder(const fs::path& folder, const KeepAnswering& between) {
    UniqueHandle handle(CreateFileW(longForm(folder).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    // Where a folder cannot be flushed on its own, the moves into it were
    // made with write-through.
    if (!handle.valid()) return std::nullopt;
    HANDLE opened = handle.get();
    const auto error = static_cast<DWORD>(
        waitAnswering([opened] { return FlushFileBuffers(opened) ? 0 : static_cast<int>(GetLastError()); }, between));
    if (error == 0 || error == ERROR_INVALID_FUNCTION || error == ERROR_ACCESS_DENIED || error == ERROR_NOT_SUPPORTED)
        return std::nullopt;
    return windowsFailure(error, "Guardar en el disco la carpeta " + quoted(folder.wstring()));
}

void Win32FileSystem::removeAbandonedTemporaryFiles(const fs::path& folder) {
    win32::removeAbandonedTemporaryFiles(folder);
}

int Win32FileSystem::openSource(const fs::path& source, bool followLink, const KeepAnswering& between,
                                std::unique_ptr<CopySource>& opened) {
    return Win32CopySource::open(source, followLink, between, opened);
}

Destination Win32FileSystem::destinationState(const fs::path& destination) {
    const DWORD existing = GetFileAttributesW(longForm(destination).c_str());
    if (existing == INVALID_FILE_ATTRIBUTES) return Destination::Free;
    if (existing & FILE_ATTRIBUTE_DIRECTORY) return Destination::Folder;
    // Windows' own copy refuses to replace these (Wine's does not).
    if (existing & FILE_ATTRIBUTE_READONLY) return Destination::ReadOnlyFile;
    if (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return Destination::HiddenOrSystemFile;
    return Destination::File;
}

// "FAT", "FAT16" and "FAT32" have the limit; "exFAT" has none.
std::optional<std::uint64_t> Win32FileSystem::largestFileOn(const fs::path& folder) {
    wchar_t root[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(longForm(folder).c_str(), root, MAX_PATH + 1) ||
        !GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1)) {
        return std::nullopt;
    }
    if (wcsncmp(fileSystem, L"FAT", 3) != 0) return std::nullopt;
    return kLargestFatFile;
}

int Win32FileSystem::createCopy(const fs::path& folder, std::uint64_t size, std::unique_ptr<CopyTarget>& created) {
    return Win32CopyTarget::create(folder, size, created);
}

// Windows flushes a file, not a whole drive: one flush for each copy.
std::vector<int> Win32FileSystem::flushTogether(const std::vector<CopyTarget*>& copies, const KeepAnswering& between) {
    std::vector<int> errors;
    errors.reserve(copies.size());
    for (CopyTarget* copy : copies) errors.push_back(copy->flush(between));
    return errors;
}

Failure Win32FileSystem::failure(int code, std::string source) const {
    return windowsFailure(static_cast<DWORD>(code), std::move(source));
}

int Win32FileSystem::errorCode(Refusal refusal) const {
    switch (refusal) {
        case Refusal::NotAFile:
        case Refusal::IsAFolder: return ERROR_DIRECTORY;
        case Refusal::NameTaken: return ERROR_FILE_EXISTS;
        case Refusal::AccessDenied: return ERROR_ACCESS_DENIED;
        case Refusal::Changed: return ERROR_LOCK_VIOLATION;
        case Refusal::TooLarge: return ERROR_FILE_TOO_LARGE;
        case Refusal::OnlyInTheCloud: return ERROR_FILE_OFFLINE;
    }
    return ERROR_GEN_FAILURE;
}

}  // namespace ruror::win32
