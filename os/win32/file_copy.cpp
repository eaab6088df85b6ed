#include "os/win32/file_copy.h"

#include <string>
#include <vector>

#include "core/answering_wait.h"
#include "core/content_hash.h"
#include "os/win32/cloud_files.h"
#include "os/win32/content_transfer.h"
#include "os/win32/extended_path.h"
#include "os/win32/held_file_retry.h"
#include "os/win32/unique_handle.h"
#include "os/win32/windows_failure.h"

namespace ruror::win32 {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kPrefix = L".ruror-";
constexpr const wchar_t* kSuffix = L".tmp";

std::wstring longForm(const fs::path& path) { return extendedLengthPath(path.wstring()); }

// A name unique to this process: its id, the time it started and a counter.
std::wstring nextTemporaryName() {
    static const unsigned long long processPart =
        (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount64();
    static unsigned counter = 0;
    wchar_t name[64];
    swprintf(name, 64, L"%ls%016llx%08x%ls", kPrefix, processPart, ++counter, kSuffix);
    return name;
}

// The file being written. It is held open without delete sharing for
// others' exclusive opens, so a later run cannot take it for abandoned;
// removed on every way out unless it was moved into place.
class TemporaryCopy {
public:
    // Unbuffered, the copy is written past the cache, in whole blocks.
    Outcome create(const fs::path& folder, const std::string& sourceText, bool unbuffered) {
        const DWORD flags =
            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN | (unbuffered ? FILE_FLAG_NO_BUFFERING : 0);
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = folder / nextTemporaryName();
            handle_ =
                UniqueHandle(CreateFileW(longForm(path_).c_str(), GENERIC_WRITE | DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, flags, nullptr));
            if (handle_.valid()) return std::nullopt;
            if (GetLastError() != ERROR_FILE_EXISTS) break;
        }
        return windowsFailure(GetLastError(), "Crear la copia de " + sourceText + " en " + quoted(folder.wstring()));
    }
    // Marked for deletion through its own handle, which may delete it: a
    // scanner that opened it meanwhile cannot stand in the way, as it could
    // of a delete by name.
    ~TemporaryCopy() {
        if (!handle_.valid() || placed_) return;
        FILE_DISPOSITION_INFO remove{TRUE};
        if (!SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &remove, sizeof remove))
            DeleteFileW(longForm(path_).c_str());
    }

    HANDLE handle() const { return handle_.get(); }
    const fs::path& path() const { return path_; }
    void placed() { placed_ = true; }

private:
    fs::path path_;
    UniqueHandle handle_;
    bool placed_ = false;
};

std::uint64_t sizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool sameContentStamp(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return sizeOf(a) == sizeOf(b) && CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

Outcome checkDestination(const fs::path& destination, bool overwrite) {
    const DWORD existing = GetFileAttributesW(longForm(destination).c_str());
    if (existing == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    const std::string destinationText = quoted(destination.wstring());
    if (existing & FILE_ATTRIBUTE_DIRECTORY) {
        Failure folder = windowsFailure(ERROR_DIRECTORY, "Crear " + destinationText);
        folder.description = "Ya existe una carpeta con ese nombre";
        return folder;
    }
    if (!overwrite) return destinationKept("Crear " + destinationText);
    // Windows' own copy refuses to replace a read-only, hidden or system
    // file (Wine's does not): refused here on both, before anything is written.
    if (existing & FILE_ATTRIBUTE_READONLY)
        return windowsFailure(ERROR_ACCESS_DENIED, "Reemplazar " + destinationText + ", que es de solo lectura");
    if (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return windowsFailure(ERROR_ACCESS_DENIED,
                              "Reemplazar " + destinationText + ", que está oculto o es de sistema");
    return std::nullopt;
}

// Runs a call that waits for the disk (a flush, a move written through) on
// a helper thread while the window keeps answering, the progress standing
// where it is. Returns 0 or the Windows error code.
DWORD waitForDisk(const std::function<bool()>& call, const CopyProgress& progress, std::uint64_t done,
                  std::uint64_t total) {
    // A file under a few MiB leaves little to wait for: its data went past
    // the cache if it is over 256 KiB, and a move writes only its entry.
    // Handing that to the helper thread costs more (under Wine each
    // hand-over is a round of calls to its server) than the window notices.
    constexpr std::uint64_t kWaitedOnHelperFrom = 2 << 20;
    if (total < 2 * kWaitedOnHelperFrom) return call() ? 0 : GetLastError();
    const std::function<void()> between = [&progress, done, total] {
        if (progress) progress(done, total);
    };
    return static_cast<DWORD>(
        waitAnswering([&call] { return call() ? 0 : static_cast<int>(GetLastError()); }, between));
}

// A drive that cannot hold a file that large (a FAT32 stick and a file of
// 4 GiB or more) is told so before a byte is written.
Outcome checkFitsOnDrive(const fs::path& destination, std::uint64_t size, const std::string& sourceText) {
    if (size <= kLargestFatFile) return std::nullopt;
    const fs::path folder = destination.parent_path();
    wchar_t root[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(longForm(folder).c_str(), root, MAX_PATH + 1) ||
        !GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1)) {
        return std::nullopt;
    }
    // "FAT", "FAT16" and "FAT32" have the limit; "exFAT" has none.
    if (wcsncmp(fileSystem, L"FAT", 3) != 0) return std::nullopt;
    Failure tooLarge = windowsFailure(ERROR_FILE_TOO_LARGE, "Copiar " + sourceText + " en " + quoted(folder.wstring()));
    tooLarge.description = kTooLargeForFat;
    return tooLarge;
}

// The copy takes the source's modification time and shows as a plain file:
// not hidden any more, as the temporary file was.
Outcome finishCopy(const TemporaryCopy& copy, const BY_HANDLE_FILE_INFORMATION& source, const CopyProgress& progress,
                   const std::string& sourceText) {
    FILE_BASIC_INFO basic{};
    basic.LastWriteTime.LowPart = source.ftLastWriteTime.dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(source.ftLastWriteTime.dwHighDateTime);
    basic.FileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileInformationByHandle(copy.handle(), FileBasicInfo, &basic, sizeof basic))
        return windowsFailure(GetLastError(), "Dar la fecha a la copia de " + sourceText);
    HANDLE handle = copy.handle();
    const std::uint64_t size = sizeOf(source);
    if (const DWORD error =
            waitForDisk([handle] { return FlushFileBuffers(handle) != FALSE; }, progress, size, 2 * size))
        return windowsFailure(error, "Guardar en el disco la copia de " + sourceText);
    return std::nullopt;
}

// Reads the flushed copy back from the drive, not from the cache
// (FILE_FLAG_NO_BUFFERING: sector-aligned buffer and reads), and compares it
// with what was read from the source.
Outcome verifyCopy(const TemporaryCopy& copy, std::uint64_t size, const ContentHash::Digest& source,
                   const CopyProgress& progress, const std::string& sourceText, const fs::path& destination) {
    const std::string checking =
        "Comprobar la copia de " + sourceText + " en " + quoted(destination.parent_path().wstring());
    UniqueHandle reading;
    const DWORD opening = retryWhileHeld(
        [&] {
            // A handle of its own, opened from the copy's without looking
            // its name up again.
            reading = UniqueHandle(ReOpenFile(copy.handle(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN));
            return reading.valid() ? DWORD{0} : GetLastError();
        },
        [&] {
            if (progress) progress(size, 2 * size);
        });
    if (opening != 0) return windowsFailure(opening, checking);
    ContentHash hash;
    std::uint64_t total = 0;
    if (const DWORD error = readBack(reading.get(), size, hash, total, progress))
        return windowsFailure(error, checking);
    if (total == size && hash.digest() == source) return std::nullopt;
    return Failure{kCopyReadBackDiffers, kReadBackDiffers, checking};
}

Outcome placeCopy(TemporaryCopy& copy, const fs::path& destination, bool overwrite, std::uint64_t size,
                  const CopyProgress& progress) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (overwrite ? MOVEFILE_REPLACE_EXISTING : 0);
    const std::string source = "Dar su nombre final a " + quoted(destination.wstring());
    const std::wstring from = longForm(copy.path()), to = longForm(destination);
    const auto move = [&] { return MoveFileExW(from.c_str(), to.c_str(), flags) != FALSE; };
    // Replacing a file another program holds for a moment is tried again.
    const auto moved = [&] { return waitForDisk(move, progress, 2 * size, 2 * size); };
    if (const DWORD error = retryWhileHeld(moved, [&] {
            if (progress) progress(2 * size, 2 * size);
        })) {
        if (!overwrite && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) return destinationKept(source);
        return windowsFailure(error, source);
    }
    copy.placed();
    return std::nullopt;
}

}  // namespace

Outcome copyFileAtomically(const fs::path& source, const fs::path& destination, bool overwrite,
                           const CopyProgress& progress) {
    const std::string sourceText = quoted(source.wstring());
    // Read only, and shared for everything, so a file Quvetra holds open can
    // still be read and is never locked or changed by us; opened without
    // fetching a document kept in the cloud, which is looked at first.
    UniqueHandle in;
    const DWORD opening = retryWhileHeld(
        [&] {
            in = UniqueHandle(CreateFileW(
                longForm(source).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_NO_RECALL, nullptr));
            return in.valid() ? DWORD{0} : GetLastError();
        },
        [&] {
            if (progress) progress(0, 0);
        });
    if (opening != 0) return windowsFailure(opening, "Abrir " + sourceText);
    BY_HANDLE_FILE_INFORMATION before{};
    if (!GetFileInformationByHandle(in.get(), &before))
        return windowsFailure(GetLastError(), "Leer los datos de " + sourceText);
    if (Outcome failure = cloudOnlyFailure(before.dwFileAttributes, sourceText)) return failure;
    if (before.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return windowsFailure(ERROR_DIRECTORY, "Copiar " + sourceText + ", que no es un archivo");
    if (Outcome failure = checkDestination(destination, overwrite)) return failure;
    const std::uint64_t size = sizeOf(before);
    if (Outcome failure = checkFitsOnDrive(destination, size, sourceText)) return failure;

    const bool unbuffered = size >= kUnbufferedFrom;
    TemporaryCopy copy;
    if (Outcome failure = copy.create(destination.parent_path(), sourceText, unbuffered)) return failure;
    ContentHash hash;
    if (const TransferFailure failed = copyContent(in.get(), copy.handle(), size, unbuffered, hash, progress);
        failed.error != 0) {
        return windowsFailure(
            failed.error, failed.onWrite ? "Escribir la copia de " + sourceText + " en " + quoted(destination.wstring())
                                         : "Leer " + sourceText);
    }
    BY_HANDLE_FILE_INFORMATION after{};
    if (!GetFileInformationByHandle(in.get(), &after))
        return windowsFailure(GetLastError(), "Leer los datos de " + sourceText);
    if (!sameContentStamp(before, after)) {
        Failure changed = windowsFailure(ERROR_LOCK_VIOLATION, "Copiar " + sourceText);
        changed.description = "El archivo cambió mientras se copiaba";
        return changed;
    }
    if (Outcome failure = finishCopy(copy, before, progress, sourceText)) return failure;
    if (Outcome failure = verifyCopy(copy, size, hash.digest(), progress, sourceText, destination)) return failure;
    return placeCopy(copy, destination, overwrite, size, progress);
}

void removeAbandonedTemporaryFiles(const fs::path& folder) {
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = longForm(folder / (std::wstring(kPrefix) + L"*" + kSuffix));
    HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        // An exclusive open fails while a running copy holds the file; one
        // that succeeds removes the file as it closes.
        UniqueHandle abandoned(CreateFileW(longForm(folder / entry.cFileName).c_str(), DELETE, 0, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

}  // namespace ruror::win32
