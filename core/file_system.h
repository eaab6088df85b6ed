#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "core/failure.h"

namespace ruror {

// Attribute masks of a directory look-up. On POSIX a name starting with "."
// is hidden and never matched; there are no system files.
namespace attribute {
inline constexpr int kNormal = 0;
inline constexpr int kHidden = 2;
inline constexpr int kSystem = 4;
inline constexpr int kDirectory = 16;
inline constexpr int kArchive = 32;
}  // namespace attribute

// Told after every chunk of a copy: bytes copied so far and the file's size.
using CopyProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// What tells one version of a file's content from another without reading it.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;  // since the epoch
};

// What can be said of other programs writing into a file.
enum class WriterHold {
    Held,              // none writes it now, and none can until let in again
    WrittenByAnother,  // another program has it open for writing
    Unknown,           // the system has no rules to tell (POSIX): nothing is held
};

// What the backup needs of the machine's file system. Paths are native.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The folder the program runs from, without a trailing separator unless
    // it is the root.
    virtual std::filesystem::path programFolder() const = 0;

    // Looks up one entry, or starts a listing when the last component of the
    // path is the pattern "*.*". Returns the entry's name (without folder), or
    // an empty path when nothing matches the attribute mask. Masks 0 and 32
    // match plain files; mask 16 also matches folders. Listings are ordered by
    // name and hold only entries directly inside the folder.
    virtual std::filesystem::path findFirst(const std::filesystem::path& pathOrPattern, int attributes) = 0;
    // The next name of the listing begun by the last findFirst, or empty at its end.
    virtual std::filesystem::path findNext() = 0;
    // The folders directly inside a folder, hidden ones left out, by name;
    // none where the folder cannot be read. Files are not examined one by
    // one, so a folder of many files costs little.
    virtual std::vector<std::filesystem::path> subFolders(const std::filesystem::path& folder) = 0;
    // What the last listing could not read: its folder, other than by not
    // existing, or each entry that could not be examined.
    virtual std::vector<Failure> listingFailures() const = 0;
    // The size and modification time of a file; empty where it cannot be read.
    virtual std::optional<FileStamp> fileStamp(const std::filesystem::path& file) = 0;

    // Whether a folder is the other one or lies somewhere inside it, links
    // followed; folders that do not exist yet count by where they would be.
    virtual bool liesWithin(const std::filesystem::path& folder, const std::filesystem::path& container) = 0;

    // Keeps other programs from writing into the file (or renaming it) until
    // letWritersIn, so that a copy of it reads one consistent file.
    virtual WriterHold keepWritersOut(const std::filesystem::path& file) = 0;
    virtual void letWritersIn() = 0;

    // Fails when the folder exists or cannot be made.
    virtual Outcome createFolder(const std::filesystem::path& folder) = 0;

    // Copies a plain file byte for byte with its permission bits and
    // modification time. The copy is written under a temporary name in the
    // destination's folder and renamed into place once it is on the disk, so
    // no partial file ever stands under the destination's name. Without
    // overwrite an existing destination is kept and the copy fails with
    // destinationExisted set; with overwrite a failed copy leaves the old
    // destination as it was.
    virtual Outcome copyFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                             bool overwrite, const CopyProgress& progress) = 0;

    // Copies like copyFile without overwrite, but leaves the flush and the
    // final name to commitCopies, so that many small files cost one flush
    // of the file system instead of one each. Failures known at once (an
    // existing destination, an unreadable source, a full disk) are returned
    // at once.
    // Progress is told while data is written or waited for, here and in
    // commitCopies, so the caller can keep the window answering.
    virtual Outcome stageCopy(const std::filesystem::path& source, const std::filesystem::path& destination,
                              const CopyProgress& progress) = 0;
    // Flushes the staged copies to the disk together, then gives each its
    // final name, keeping any file that took that name meanwhile. Returns a
    // failure for each copy that was not placed.
    virtual std::vector<Failure> commitCopies(const CopyProgress& progress) = 0;

    // Writes a folder's entries to the disk, so files renamed into it survive
    // a power cut or the unplugging of the drive. `between` is called about
    // every 10 ms while the disk is waited for, to keep the window answering.
    virtual Outcome flushFolder(const std::filesystem::path& folder, const std::function<void()>& between) = 0;

    // Removes the temporary files that ended runs of this program left in the
    // folder; a temporary file that a running copy still writes is left alone.
    virtual void removeAbandonedTemporaryFiles(const std::filesystem::path& folder) = 0;
};

}  // namespace ruror
