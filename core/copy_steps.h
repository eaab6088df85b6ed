#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace ruror {

// Called about every 10 ms while a step waits (for the disk, or for another
// program to let go of a file), so that the window keeps answering.
using KeepAnswering = std::function<void()>;

// What tells one version of a file's content from another without reading it.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;  // since the epoch
};

// The small steps of a verified copy that each operating system supplies;
// the sequence that runs them, and every message about them, is the
// engine's (backup/verified_copy.h). Steps return 0 or the system's own
// error code unless they say otherwise.

// A file opened to be copied: for reading only, and never changed.
class CopySource {
public:
    virtual ~CopySource() = default;

    // Its size and modification time when it was opened.
    virtual FileStamp stamp() const = 0;
    // Its permission bits where the system keeps them (POSIX), or 0.
    virtual unsigned permissions() const = 0;
    // Whether it is a plain file: no folder, device, FIFO or socket.
    virtual bool isPlainFile() const = 0;
    // Whether its data is kept only in the cloud (OneDrive and the like):
    // reading it would download it first.
    virtual bool onlyInTheCloud() const = 0;
    // Up to `capacity` bytes from `offset`: how many, 0 at the end, or the
    // negative error code.
    virtual long long readAt(char* buffer, std::size_t capacity, std::uint64_t offset) = 0;
    // Whether its size and modification time are still those it was opened with.
    virtual int checkUnchanged(bool& unchanged) = 0;
};

// The copy, written under a hidden temporary name in its destination's
// folder, and removed on every way out unless it was given its final name.
class CopyTarget {
public:
    virtual ~CopyTarget() = default;

    // Writes a piece at its offset. The piece has room to be padded up to a
    // whole block (kBlockAlignment), as a write past the cache needs.
    virtual int writeAt(char* piece, std::size_t length, std::uint64_t offset) = 0;
    // After the last piece: the copy made exactly `size` bytes long.
    virtual int endAt(std::uint64_t size) = 0;
    virtual int keepPermissions(unsigned permissions) = 0;
    // Gives the copy the source's modification time, and shows it as a
    // plain file.
    virtual int keepModificationTime(std::int64_t nanoseconds) = 0;
    // Writes the copy and its metadata to the disk.
    virtual int flush(const KeepAnswering& between) = 0;
    // Opens the flushed copy to be read back from the drive, past the
    // memory cache, then reads it as CopySource::readAt does.
    virtual int openReadBack(const KeepAnswering& between) = 0;
    virtual long long readBackAt(char* buffer, std::size_t capacity, std::uint64_t offset) = 0;
    // Gives the copy its final name. With `replace`, a file of that name is
    // replaced; without it, kNameTaken is returned and that file is kept.
    virtual int place(const std::filesystem::path& destination, bool replace, const KeepAnswering& between) = 0;

    static constexpr int kNameTaken = -1;
};

// What stands under a copy's final name before anything is written.
enum class Destination {
    Free,
    File,
    Folder,
    // Files Windows' own copy never replaces.
    ReadOnlyFile,
    HiddenOrSystemFile,
};

// The failures the copy sequence finds itself, each told with the system's
// own error number for it.
enum class Refusal { NotAFile, IsAFolder, NameTaken, AccessDenied, Changed, TooLarge, OnlyInTheCloud };

}  // namespace ruror
