#pragma once

#include <sys/types.h>

#include <filesystem>

#include "core/content_hash.h"
#include "core/file_system.h"
#include "os/posix/temporary_file.h"

namespace ruror::posix {

// A copy written whole under a temporary name in its destination's folder,
// waiting to be flushed and given its final name.
class PendingCopy {
public:
    // Copies the source's bytes, permission bits and modification time.
    // Fails when the source is no plain file, when it changed while it was
    // copied, or, without overwrite, when the destination already exists.
    static Outcome write(const std::filesystem::path& source, const std::filesystem::path& destination, bool overwrite,
                         const CopyProgress& progress, PendingCopy& copy);

    // Flushes the file with its metadata, the window answering meanwhile.
    Outcome flush(const CopyProgress& progress);
    // Reads the flushed copy back from the drive, not from memory, and
    // compares it with what was read from the source while it was copied.
    Outcome verify(const CopyProgress& progress);
    // Gives the copy its final name; without replace an existing file is kept.
    Outcome place(bool replace);

    const std::filesystem::path& destination() const { return destination_; }
    std::uint64_t size() const { return size_; }
    int fd() const { return file_.fd(); }
    // The file system the copy is written on.
    dev_t device() const { return device_; }

private:
    TemporaryFile file_;
    std::filesystem::path source_;
    std::filesystem::path destination_;
    std::uint64_t size_ = 0;
    ContentHash::Digest sourceDigest_;
    dev_t device_ = 0;
};

// Copies one plain file into place atomically; see FileSystem::copyFile.
Outcome copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& destination,
                           bool overwrite, const CopyProgress& progress);

}  // namespace ruror::posix
