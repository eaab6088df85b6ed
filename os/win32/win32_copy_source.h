#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>

#include "core/copy_steps.h"
#include "os/win32/unique_handle.h"

namespace ruror::win32 {

// A file opened for a copy: for reading only and shared for everything, so
// that a file Quvetra holds open can still be read and is never locked or
// changed by the copy; opened without fetching a document kept in the cloud.
class Win32CopySource final : public CopySource {
public:
    // 0 or the Windows error code; a file another program holds for a
    // moment is tried again for a few seconds.
    static int open(const std::filesystem::path& path, bool followLink, const KeepAnswering& between,
                    std::unique_ptr<CopySource>& opened);

    FileStamp stamp() const override;
    unsigned permissions() const override { return 0; }
    bool isPlainFile() const override { return (before_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0; }
    bool onlyInTheCloud() const override;
    long long readAt(char* buffer, std::size_t capacity, std::uint64_t offset) override;
    int checkUnchanged(bool& unchanged) override;

private:
    Win32CopySource(UniqueHandle handle, const BY_HANDLE_FILE_INFORMATION& before)
        : handle_(std::move(handle)), before_(before) {}

    UniqueHandle handle_;
    BY_HANDLE_FILE_INFORMATION before_;
};

// What tells one version of a file from another, from Windows' own figures.
FileStamp stampOf(DWORD sizeHigh, DWORD sizeLow, const FILETIME& lastWrite);

}  // namespace ruror::win32
