#include "backup/data_centre_stage.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>

#include "backup/hashed_transfer.h"
#include "backup/verified_copy.h"
#include "core/path_text.h"

namespace ruror {
namespace {

namespace fs = std::filesystem;

// Two stamps this close are one version: FAT drives keep modification
// times to two seconds only.
constexpr std::int64_t kClockGrainNanoseconds = 2'000'000'000;

bool differentVersions(const std::optional<FileStamp>& quvetra, const std::optional<FileStamp>& kept) {
    if (!quvetra || !kept) return false;
    return quvetra->size != kept->size ||
           std::llabs(quvetra->modifiedNanoseconds - kept->modifiedNanoseconds) > kClockGrainNanoseconds;
}

class StageCopier {
public:
    StageCopier(const DataCentreStage& stage, FileSystem& files, BackupObserver& observer, DataCentreFindings& findings,
                const StopRequest* stop)
        : stage_(stage), files_(files), observer_(observer), findings_(findings), stop_(stop), batch_(files, stop) {}

    void run() {
        observer_.stageBegun(stage_.stage);
        // A sub-folder that is a link is told by the listing that holds it,
        // and has no folder in the tree.
        if (files_.isLink(stage_.source)) return;
        if (findings_.destinationGone) {
            findings_.notCopiedSinceGone += listNames().size();
            return;
        }
        const Outcome notCreated = files_.createFolder(stage_.target, stage_.source);
        targetStood_ = !notCreated || notCreated->destinationExisted;
        note(notCreated);
        files_.removeAbandonedTemporaryFiles(stage_.target);
        if (notCreated && notCreated->destinationExisted) listTreeBefore();
        const std::vector<fs::path> names = listNames();
        const auto total = static_cast<long long>(names.size());
        observer_.progress(0, total);
        for (long long done = 0; done < total; ++done) {
            if (stopAsked(stop_)) return;
            if (findings_.destinationGone) {
                findings_.notCopiedSinceGone += static_cast<std::size_t>(total - done);
                break;
            }
            copyOne(names[static_cast<std::size_t>(done)]);
            observer_.progress(done + 1, total);
            observer_.keepAnswering();
        }
        commitStaged();
        if (findings_.destinationGone || stopAsked(stop_)) return;
        const auto between = [this] { observer_.keepAnswering(); };
        if (!names.empty()) note(files_.flushFolder(stage_.target, between));
        if (!notCreated) note(files_.flushFolder(stage_.parent, between));
    }

private:
    std::vector<fs::path> listNames() {
        std::vector<fs::path> names;
        for (fs::path name = files_.findFirst(joinedPath(stage_.source, "*.*"), attribute::kArchive); !name.empty();
             name = files_.findNext()) {
            names.push_back(name);
        }
        for (const Failure& failure : files_.listingFailures()) note(failure);
        for (const fs::path& link : files_.listingLinks())
            findings_.links.push_back(stage_.shownAs + textFromPath(link));
        return names;
    }

    // The names the tree folder held before this run, as the drive gives them.
    void listTreeBefore() {
        for (fs::path name = files_.findFirst(joinedPath(stage_.target, "*.*"), attribute::kArchive); !name.empty();
             name = files_.findNext()) {
            treeBefore_.insert(name);
        }
    }

    void copyOne(const fs::path& name) {
        const fs::path source = joinedPath(stage_.source, name);
        const std::uint64_t writtenBefore = batch_.bytesWritten();
        Outcome failure = batch_.add(source, joinedPath(stage_.target, name), keepAnswering_);
        if (batch_.bytesWritten() > writtenBefore) observer_.written(batch_.bytesWritten() - writtenBefore);
        if (!failure) return;
        if (failure->destinationExisted)
            keptOut(source);
        else
            noteFile(*failure);
    }

    // A document whose name the tree already holds. A file that stood in
    // the tree before this run is kept, and told when Quvetra's is another
    // version. A drive that ignores case (FAT and exFAT sticks, NTFS,
    // Windows shares) can take two of Quvetra's names for one: then the
    // file under that name is one this run wrote, and this document was not
    // copied. The drive alone knows which names it takes for one, so the
    // file is known by its bytes, not by guessing from the letters.
    void keptOut(const fs::path& source) {
        const fs::path name = source.filename();
        const fs::path target = joinedPath(stage_.target, name);
        if (treeBefore_.count(name) == 0) {
            if (const CopyBatch::Placed* same = writtenThisRun(target)) {
                findings_.failures.push_back(Failure{
                    files_.errorCode(Refusal::NameTaken),
                    "La unidad de destino no distingue mayúsculas de minúsculas, y para ella es el mismo nombre que '" +
                        textFromPath(same->destination.filename()) + "', ya copiado en este respaldo",
                    "Copiar '" + textFromPath(source) + "'"});
                return;
            }
        }
        if (differentVersions(files_.fileStamp(source), files_.fileStamp(target)))
            findings_.outdated.push_back(stage_.shownAs + textFromPath(name));
    }

    // The copy this run placed that the file under the target's name is,
    // told by its size and its bytes; none where it is another file.
    const CopyBatch::Placed* writtenThisRun(const fs::path& target) {
        const std::optional<FileStamp> stamp = files_.fileStamp(target);
        if (!stamp) return nullptr;
        const auto& placed = batch_.placed();
        const auto sameSize = [&](const CopyBatch::Placed& copy) { return copy.size == stamp->size; };
        if (std::none_of(placed.begin(), placed.end(), sameSize)) return nullptr;
        const std::optional<ContentHash::Digest> digest = digestOf(target, stamp->size);
        if (!digest) return nullptr;
        for (const CopyBatch::Placed& copy : placed)
            if (sameSize(copy) && copy.digest == *digest) return &copy;
        return nullptr;
    }

    std::optional<ContentHash::Digest> digestOf(const fs::path& file, std::uint64_t size) {
        std::unique_ptr<CopySource> opened;
        if (files_.openSource(
                file, false, [this] { observer_.keepAnswering(); }, opened) != 0)
            return std::nullopt;
        ContentHash hash;
        std::uint64_t total = 0;
        const auto read = [&opened](char* piece, std::size_t capacity, std::uint64_t offset) {
            return opened->readAt(piece, capacity, offset);
        };
        if (hashToEnd(read, size, hash, total, [this](std::uint64_t) { observer_.keepAnswering(); }) != 0)
            return std::nullopt;
        return hash.digest();
    }

    void commitStaged() {
        for (const Failure& failure : batch_.commit(keepAnswering_)) noteFile(failure);
        for (const fs::path& source : batch_.takeKeptOut()) keptOut(source);
        findings_.copied += batch_.placed().size() - counted_;
        counted_ = batch_.placed().size();
    }

    // An existing tree folder or tree file is kept as it is, silently: a
    // backup into the same location adds to its tree. Once the destination
    // is gone, what else fails there is no news.
    void note(const Outcome& failure) {
        if (!failure || failure->destinationExisted || findings_.destinationGone) return;
        if (destinationGoneWith(*failure)) return;
        findings_.failures.push_back(*failure);
    }

    // A file not copied: told, or counted once the destination is gone. A
    // copy given up on request is no failure.
    void noteFile(const Failure& failure) {
        if (failure.destinationExisted || failure.number == kStoppedOnRequest) return;
        if (findings_.destinationGone || destinationGoneWith(failure)) {
            ++findings_.notCopiedSinceGone;
            return;
        }
        findings_.failures.push_back(failure);
    }

    // Whether the failure came of the destination going away: the folder
    // the stage's folder is in, or that folder itself once it stood, can no
    // longer be found (a drive unplugged leaves its empty mount point).
    bool destinationGoneWith(const Failure& failure) {
        const bool parentThere = !files_.findFirst(stage_.parent, attribute::kDirectory).empty();
        const bool targetThere = !targetStood_ || !files_.findFirst(stage_.target, attribute::kDirectory).empty();
        if (parentThere && targetThere) return false;
        findings_.destinationGone = failure;
        return true;
    }

    const DataCentreStage& stage_;
    FileSystem& files_;
    BackupObserver& observer_;
    DataCentreFindings& findings_;
    const StopRequest* stop_;
    const CopyProgress keepAnswering_ = [this](std::uint64_t, std::uint64_t) { observer_.keepAnswering(); };
    CopyBatch batch_;
    // The batch's placed copies already counted in the findings.
    std::size_t counted_ = 0;
    // Whether the stage's folder stood in the tree once the stage began.
    bool targetStood_ = false;
    // The names the tree folder held when the stage began.
    std::set<fs::path> treeBefore_;
};

}  // namespace

void copyDataCentreStage(const DataCentreStage& stage, FileSystem& files, BackupObserver& observer,
                         DataCentreFindings& findings, const StopRequest* stop) {
    StageCopier(stage, files, observer, findings, stop).run();
}

}  // namespace ruror
