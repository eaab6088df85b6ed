#include "os/win32/win32_copy_target.h"

#include <cwchar>

#include "core/answering_wait.h"
#include "os/win32/extended_path.h"
#include "os/win32/held_file_retry.h"
#include "os/win32/positional_io.h"

namespace ruror::win32 {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kPrefix = L".ruror-";
constexpr const wchar_t* kSuffix = L".tmp";
constexpr std::uint64_t kUnbufferedFrom = 256 << 10;
// A file under this size leaves little to wait for: its data went past the
// cache if it is over 256 KiB, and a move writes only its entry. Handing
// that to a helper thread costs more (under Wine each hand-over is a round
// of calls to its server) than the window notices.
constexpr std::uint64_t kWaitedOnHelperFrom = 2 << 20;

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

}  // namespace

int Win32CopyTarget::create(const fs::path& folder, std::uint64_t size, std::unique_ptr<CopyTarget>& created) {
    const bool unbuffered = size >= kUnbufferedFrom;
    const DWORD flags = FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN | (unbuffered ? FILE_FLAG_NO_BUFFERING : 0);
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path path = folder / nextTemporaryName();
        UniqueHandle handle(CreateFileW(longForm(path).c_str(), GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, flags, nullptr));
        if (handle.valid()) {
            created.reset(new Win32CopyTarget(std::move(path), std::move(handle), size, unbuffered));
            return 0;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return static_cast<int>(GetLastError());
}

// Marked for deletion through its own handle, which may delete it: a
// scanner that opened it meanwhile cannot stand in the way, as it could of
// a delete by name.
Win32CopyTarget::~Win32CopyTarget() {
    reading_.reset();
    if (!handle_.valid() || placed_) return;
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &remove, sizeof remove))
        DeleteFileW(longForm(path_).c_str());
}

int Win32CopyTarget::writeAt(char* piece, std::size_t length, std::uint64_t offset) {
    return static_cast<int>(win32::writeAt(handle_.get(), piece, length, offset, unbuffered_));
}

// The last block was padded: the copy is cut to its size.
int Win32CopyTarget::endAt(std::uint64_t size) {
    if (!unbuffered_) return 0;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(handle_.get(), FileEndOfFileInfo, &end, sizeof end))
        return static_cast<int>(GetLastError());
    return 0;
}

// The copy shows as a plain file: not hidden any more, as the temporary file was.
int Win32CopyTarget::keepModificationTime(std::int64_t nanoseconds) {
    constexpr std::int64_t kEpochIn1601Units = 116444736000000000;
    FILE_BASIC_INFO basic{};
    basic.LastWriteTime.QuadPart = nanoseconds / 100 + kEpochIn1601Units;
    basic.FileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileInformationByHandle(handle_.get(), FileBasicInfo, &basic, sizeof basic))
        return static_cast<int>(GetLastError());
    return 0;
}

// A wait for the disk runs on a helper thread, the window answering
// meanwhile, where the file is large enough to make it worth it.
DWORD Win32CopyTarget::waitForDisk(const std::function<bool()>& call, const KeepAnswering& between) const {
    if (size_ < kWaitedOnHelperFrom) return call() ? 0 : GetLastError();
    return static_cast<DWORD>(
        waitAnswering([&call] { return call() ? 0 : static_cast<int>(GetLastError()); }, between));
}

int Win32CopyTarget::flush(const KeepAnswering& between) {
    HANDLE handle = handle_.get();
    return static_cast<int>(waitForDisk([handle] { return FlushFileBuffers(handle) != FALSE; }, between));
}

// Past the cache (FILE_FLAG_NO_BUFFERING: sector-aligned buffers and
// reads), through a handle opened from the copy's without looking its name
// up again.
int Win32CopyTarget::openReadBack(const KeepAnswering& between) {
    return static_cast<int>(retryWhileHeld(
        [this] {
            reading_ = UniqueHandle(ReOpenFile(handle_.get(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN));
            return reading_.valid() ? DWORD{0} : GetLastError();
        },
        between));
}

long long Win32CopyTarget::readBackAt(char* buffer, std::size_t capacity, std::uint64_t offset) {
    return readFrom(reading_.get(), buffer, capacity, offset);
}

// Moved with write-through; replacing a file another program holds for a
// moment is tried again.
int Win32CopyTarget::place(const fs::path& destination, bool replace, const KeepAnswering& between) {
    reading_.reset();
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    const std::wstring from = longForm(path_), to = longForm(destination);
    const auto move = [&] { return MoveFileExW(from.c_str(), to.c_str(), flags) != FALSE; };
    const DWORD error = retryWhileHeld([&] { return waitForDisk(move, between); }, between);
    if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) return kNameTaken;
    if (error != 0) return static_cast<int>(error);
    placed_ = true;
    return 0;
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
