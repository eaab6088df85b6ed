#include "os/win32/win32_copy_source.h"

#include "os/win32/cloud_files.h"
#include "os/win32/extended_path.h"
#include "os/win32/held_file_retry.h"
#include "os/win32/positional_io.h"
#include "os/win32/reparse_links.h"

namespace ruror::win32 {

FileStamp stampOf(DWORD sizeHigh, DWORD sizeLow, const FILETIME& lastWrite) {
    // Windows counts 100 ns intervals from 1601; the epoch is 1970.
    constexpr std::int64_t kEpochIn1601Units = 116444736000000000;
    const auto written = static_cast<std::int64_t>((static_cast<std::uint64_t>(lastWrite.dwHighDateTime) << 32) |
                                                   lastWrite.dwLowDateTime);
    return FileStamp{(static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow, (written - kEpochIn1601Units) * 100};
}

namespace {

// What the copy needs to know of its source: attributes, size and time. Not
// by GetFileInformationByHandle, whose volume serial number Wine asks of its
// mount manager, in another process, on every call: two of those a file
// cost more than the rest of its copy.
bool describe(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard)) {
        return false;
    }
    info = {};
    info.dwFileAttributes = basic.FileAttributes;
    info.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(basic.LastWriteTime.QuadPart);
    info.ftLastWriteTime.dwHighDateTime = static_cast<DWORD>(basic.LastWriteTime.QuadPart >> 32);
    info.nFileSizeLow = static_cast<DWORD>(standard.EndOfFile.QuadPart);
    info.nFileSizeHigh = static_cast<DWORD>(standard.EndOfFile.QuadPart >> 32);
    return true;
}

DWORD openHandle(const std::filesystem::path& path, DWORD extraFlags, UniqueHandle& handle) {
    handle = UniqueHandle(CreateFileW(extendedLengthPath(path.wstring()).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_NO_RECALL | extraFlags, nullptr));
    return handle.valid() ? DWORD{0} : GetLastError();
}

// Opened without following a link where asked: a document swapped for a link
// after it was listed then fails instead of bringing in what the link points
// to. The file's attributes, asked for its size and time in any case, tell
// whether it is a reparse point at all; only then is its tag asked. A file
// kept in the cloud is one too, and is opened again as every file is, so
// that it reads as before.
DWORD openOnce(const std::filesystem::path& path, bool followLink, UniqueHandle& handle,
               BY_HANDLE_FILE_INFORMATION& info) {
    if (const DWORD error = openHandle(path, followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT, handle)) return error;
    if (!describe(handle.get(), info)) return GetLastError();
    if (followLink || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return 0;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!GetFileInformationByHandleEx(handle.get(), FileAttributeTagInfo, &tag, sizeof tag)) return GetLastError();
    if (isLink(tag.FileAttributes, tag.ReparseTag)) {
        handle = UniqueHandle();
        return kStoppedOnLink;
    }
    if (const DWORD error = openHandle(path, 0, handle)) return error;
    return describe(handle.get(), info) ? DWORD{0} : GetLastError();
}

}  // namespace

int Win32CopySource::open(const std::filesystem::path& path, bool followLink, const KeepAnswering& between,
                          std::unique_ptr<CopySource>& opened) {
    UniqueHandle handle;
    BY_HANDLE_FILE_INFORMATION before{};
    const DWORD error = retryWhileHeld([&] { return openOnce(path, followLink, handle, before); }, between);
    if (error != 0) return static_cast<int>(error);
    opened.reset(new Win32CopySource(std::move(handle), before));
    return 0;
}

FileStamp Win32CopySource::stamp() const {
    return stampOf(before_.nFileSizeHigh, before_.nFileSizeLow, before_.ftLastWriteTime);
}

bool Win32CopySource::onlyInTheCloud() const { return isOnlyInTheCloud(before_.dwFileAttributes); }

long long Win32CopySource::readAt(char* buffer, std::size_t capacity, std::uint64_t offset) {
    return readFrom(handle_.get(), buffer, capacity, offset);
}

int Win32CopySource::checkUnchanged(bool& unchanged) {
    BY_HANDLE_FILE_INFORMATION after{};
    if (!describe(handle_.get(), after)) return static_cast<int>(GetLastError());
    unchanged = after.nFileSizeHigh == before_.nFileSizeHigh && after.nFileSizeLow == before_.nFileSizeLow &&
                CompareFileTime(&after.ftLastWriteTime, &before_.ftLastWriteTime) == 0;
    return 0;
}

}  // namespace ruror::win32
