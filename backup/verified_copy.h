#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "backup/content_hash.h"
#include "core/file_system.h"
#include "core/stop_request.h"

namespace ruror {

// Told while a file is copied: how far, of a total of twice its size, since
// writing the copy is the first half and reading it back the second.
using CopyProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Copies one plain file byte for byte, with its permission bits and
// modification time, so that no partial or wrongly stored file ever stands
// under the destination's name: the copy is written under a temporary name
// in the destination's folder, flushed, read back from the drive past the
// memory cache and compared with what was read from the source, and only
// then renamed into place. Without overwrite an existing destination is
// kept and the copy fails with destinationExisted set; with overwrite a
// failed copy leaves the old destination as it was. A source that changed
// while it was read is never kept. A link at the source is followed: the
// database may be reached through one.
// A copy under way gives up, its temporary file removed, soon after `stop`
// is asked (a flush already begun runs to its end): with kStoppedOnRequest.
Outcome copyVerified(FileSystem& files, const std::filesystem::path& source, const std::filesystem::path& destination,
                     bool overwrite, const CopyProgress& progress, const StopRequest* stop = nullptr);

// Copies many files like copyVerified without overwrite, flushing those
// written together: many small files then cost one flush of the file system
// instead of one each. A source that is a link, or became one after it was
// listed, is not copied: what it points to is no document of Quvetra's. Failures known at once (an existing
// destination, an unreadable source, a full disk) are returned by add; the others by commit.
class CopyBatch {
public:
    explicit CopyBatch(FileSystem& files, const StopRequest* stop = nullptr);
    ~CopyBatch();
    CopyBatch(const CopyBatch&) = delete;
    CopyBatch& operator=(const CopyBatch&) = delete;

    // Writes the copy; the batch is committed by itself once it is full.
    Outcome add(const std::filesystem::path& source, const std::filesystem::path& destination,
                const CopyProgress& progress);
    // Flushes the copies written, reads each back and gives it its final
    // name, keeping any file that took that name meanwhile. Returns a
    // failure for each copy that was not placed, other than those kept out
    // by a file under their name, which keptOut() lists.
    std::vector<Failure> commit(const CopyProgress& progress);

    // A copy given its name: what it holds, to tell it from other files.
    struct Placed {
        std::filesystem::path destination;
        std::uint64_t size = 0;
        ContentHash::Digest digest;
    };
    // The copies placed since the batch began.
    const std::vector<Placed>& placed() const { return placed_; }
    // The bytes of the copies written since the batch began.
    std::uint64_t bytesWritten() const { return bytesWritten_; }
    // The sources whose copy found its name taken at the commit, by a file
    // that came after the copy was begun; taken from the batch as read.
    std::vector<std::filesystem::path> takeKeptOut() { return std::exchange(keptOut_, {}); }

    // The copies a batch holds at most: each keeps its temporary file open.
    static constexpr std::size_t kMostCopies = 128;

    struct Pending;

private:
    FileSystem& files_;
    const StopRequest* stop_;
    std::vector<std::unique_ptr<Pending>> pending_;
    std::vector<Failure> failures_;
    std::vector<Placed> placed_;
    std::uint64_t bytesWritten_ = 0;
    std::vector<std::filesystem::path> keptOut_;
};

}  // namespace ruror
