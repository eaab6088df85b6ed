#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/copy_steps.h"
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

// What stands where a folder of the backup tree goes, as far as the tree
// may trust it.
enum class TreeFolder {
    Absent,            // nothing yet: the backup makes it
    Usable,            // a real folder the backup may add to
    NotAFolder,        // a file: the copy tells it, with each file not copied
    Link,              // a symbolic link, or a junction or other reparse point on Windows
    OwnedByAnother,    // a folder of another user (not the administrator)
    WritableByOthers,  // a folder every user may write into
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
    // match plain files; mask 16 also matches folders. A listing holds only
    // the entries directly inside the folder (sorted by name on POSIX, as
    // Windows gives them there), never follows a link, and lists nothing
    // where the folder itself is a link.
    virtual std::filesystem::path findFirst(const std::filesystem::path& pathOrPattern, int attributes) = 0;
    // The next name of the listing begun by the last findFirst, or empty at its end.
    virtual std::filesystem::path findNext() = 0;
    // The folders directly inside a folder, hidden ones and links left out,
    // by name; none where the folder cannot be read or is a link. Files are not examined one by
    // one, so a folder of many files costs little.
    virtual std::vector<std::filesystem::path> subFolders(const std::filesystem::path& folder) = 0;
    // What the last listing could not read: its folder, other than by not
    // existing, or each entry that could not be examined.
    virtual std::vector<Failure> listingFailures() const = 0;
    // The links the last listing met, by name, sorted: what they point to
    // is no document of the folder's, so none is followed.
    virtual std::vector<std::filesystem::path> listingLinks() const = 0;
    // The size and modification time of a file; empty where it cannot be read.
    virtual std::optional<FileStamp> fileStamp(const std::filesystem::path& file) = 0;

    // Whether a folder stands at the path, links followed.
    virtual bool isFolder(const std::filesystem::path& path) = 0;
    // Whether a link (a symbolic link; on Windows also a junction or another
    // reparse point that is not a file kept in the cloud) stands at the path.
    virtual bool isLink(const std::filesystem::path& path) = 0;
    // What stands where a folder of the backup tree goes. Owners and modes
    // count only where the drive keeps them (not FAT, exFAT, NTFS through
    // FUSE or a Windows share, whose modes are made up; not Windows).
    virtual TreeFolder treeFolder(const std::filesystem::path& folder) = 0;
    // The bytes that can still be written on the drive that holds the
    // folder; empty where it cannot be told.
    virtual std::optional<std::uint64_t> freeSpace(const std::filesystem::path& folder) = 0;

    // Whether a folder is the other one or lies somewhere inside it, links
    // followed; folders that do not exist yet count by where they would be.
    virtual bool liesWithin(const std::filesystem::path& folder, const std::filesystem::path& container) = 0;

    // Keeps other programs from writing into the file (or renaming it) until
    // letWritersIn, so that a copy of it reads one consistent file.
    virtual WriterHold keepWritersOut(const std::filesystem::path& file) = 0;
    virtual void letWritersIn() = 0;

    // Fails when the folder cannot be made, or exists: an existing folder is
    // a failure with destinationExisted set, to be kept as it is; a link is
    // a plain failure, never followed. A new folder takes the permission
    // bits of `likeFolder`, less writing by others.
    virtual Outcome createFolder(const std::filesystem::path& folder, const std::filesystem::path& likeFolder) = 0;

    // Writes a folder's entries to the disk, so files renamed into it survive
    // a power cut or the unplugging of the drive. `between` is called about
    // every 10 ms while the disk is waited for, to keep the window answering.
    virtual Outcome flushFolder(const std::filesystem::path& folder, const KeepAnswering& between) = 0;

    // Removes the temporary files that ended runs of this program left in the
    // folder; a temporary file that a running copy still writes is left alone.
    virtual void removeAbandonedTemporaryFiles(const std::filesystem::path& folder) = 0;

    // The steps of a verified copy (core/copy_steps.h). Each error code is
    // the system's own, told by failure().

    // Opens a file to copy it, trying again for a few seconds where another
    // program holds it for a moment. A link at the source is followed only
    // with followLink; otherwise opening it fails.
    virtual int openSource(const std::filesystem::path& source, bool followLink, const KeepAnswering& between,
                           std::unique_ptr<CopySource>& opened) = 0;
    // What stands under a copy's final name, links not followed.
    virtual Destination destinationState(const std::filesystem::path& destination) = 0;
    // The largest file the drive holding the folder takes, where it has a
    // limit a backup may reach: a FAT drive (most USB sticks) holds no file
    // of 4 GiB or more. Empty where there is no such limit, or it cannot be told.
    virtual std::optional<std::uint64_t> largestFileOn(const std::filesystem::path& folder) = 0;
    // Creates the temporary file of a copy of `size` bytes in the folder.
    virtual int createCopy(const std::filesystem::path& folder, std::uint64_t size,
                           std::unique_ptr<CopyTarget>& created) = 0;
    // Writes copies to the disk, those on one file system together where
    // the system can: an error code for each copy.
    virtual std::vector<int> flushTogether(const std::vector<CopyTarget*>& copies, const KeepAnswering& between) = 0;

    // A failure with the system's error code, its Spanish description and
    // what failed.
    virtual Failure failure(int code, std::string source) const = 0;
    // The system's error code for a failure the copy finds itself.
    virtual int errorCode(Refusal refusal) const = 0;
};

}  // namespace ruror
