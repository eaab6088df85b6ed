#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>

#include "core/copy_steps.h"
#include "os/win32/unique_handle.h"

namespace ruror::win32 {

// A copy being written under a hidden temporary name. It is held open
// without delete sharing for others' exclusive opens, so that a later run
// cannot take it for abandoned, and it is removed on every way out unless
// it was moved into place. A file of 256 KiB or more is written past the
// cache (FILE_FLAG_NO_BUFFERING), in whole blocks, and cut to its size at
// the end: nothing is left for the flush to write.
class Win32CopyTarget final : public CopyTarget {
public:
    static int create(const std::filesystem::path& folder, std::uint64_t size, std::unique_ptr<CopyTarget>& created);
    ~Win32CopyTarget() override;

    int writeAt(char* piece, std::size_t length, std::uint64_t offset) override;
    int endAt(std::uint64_t size) override;
    int keepPermissions(unsigned) override { return 0; }
    int keepModificationTime(std::int64_t nanoseconds) override;
    int flush(const KeepAnswering& between) override;
    int openReadBack(const KeepAnswering& between) override;
    long long readBackAt(char* buffer, std::size_t capacity, std::uint64_t offset) override;
    int place(const std::filesystem::path& destination, bool replace, const KeepAnswering& between) override;

private:
    Win32CopyTarget(std::filesystem::path path, UniqueHandle handle, std::uint64_t size, bool unbuffered)
        : path_(std::move(path)), handle_(std::move(handle)), size_(size), unbuffered_(unbuffered) {}
    DWORD waitForDisk(const std::function<bool()>& call, const KeepAnswering& between) const;

    std::filesystem::path path_;
    UniqueHandle handle_;
    std::uint64_t size_;
    bool unbuffered_;
    // A handle of its own for reading back, opened from the copy's.
    UniqueHandle reading_;
    bool placed_ = false;
};

// Removes the temporary files that ended runs left in a folder; one that a
// running copy holds open is left alone.
void removeAbandonedTemporaryFiles(const std::filesystem::path& folder);

}  // namespace ruror::win32
