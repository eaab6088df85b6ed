#include "backup/data_centre_stage.h"

#include <cstdlib>
#include <map>
#include <optional>

#include "backup/case_fold.h"
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
    StageCopier(const DataCentreStage& stage, FileSystem& files, BackupObserver& observer, DataCentreFindings& findings)
        : stage_(stage), files_(files), observer_(observer), findings_(findings) {}

    void run() {
        observer_.stageBegun(stage_.stage);
        if (findings_.destinationGone) {
            findings_.notCopiedSinceGone += listNames().size();
            return;
        }
        const Outcome notCreated = files_.createFolder(stage_.target);
        targetStood_ = !notCreated || notCreated->destinationExisted;
        note(notCreated);
        files_.removeAbandonedTemporaryFiles(stage_.target);
        const std::vector<fs::path> names = listNames();
        findNamesSharedByCase(names);
        const auto total = static_cast<long long>(names.size());
        observer_.progress(0, total);
        for (long long done = 0; done < total; ++done) {
            if (findings_.destinationGone) {
                findings_.notCopiedSinceGone += static_cast<std::size_t>(total - done);
                break;
            }
            copyOne(names[static_cast<std::size_t>(done)]);
            observer_.progress(done + 1, total);
            observer_.keepAnswering();
        }
        commitStaged();
        if (findings_.destinationGone) return;
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
        return names;
    }

    // Names that a drive ignoring case takes for one another. Whether each
    // stood in the tree before this run is asked now, before any is written.
    void findNamesSharedByCase(const std::vector<fs::path>& names) {
        std::map<std::string, int> uses;
        for (const fs::path& name : names) ++uses[caseFolded(textFromPath(name))];
        for (const fs::path& name : names) {
            if (uses[caseFolded(textFromPath(name))] < 2) continue;
            sharedByCase_[name] = !files_.findFirst(joinedPath(stage_.target, name), attribute::kArchive).empty();
        }
    }

    void copyOne(const fs::path& name) {
        const fs::path source = joinedPath(stage_.source, name);
        const fs::path target = joinedPath(stage_.target, name);
        const auto shared = sharedByCase_.find(name);
        const std::string folded = shared == sharedByCase_.end() ? std::string() : caseFolded(textFromPath(name));
        // The copy under an earlier name of the same letters takes its place
        // first, so that the drive itself tells whether the names are one.
        if (!folded.empty() && writtenByFold_.count(folded) != 0) commitStaged();

        Outcome failure = batch_.add(source, target, keepAnswering_);
        if (!failure) {
            if (!folded.empty()) writtenByFold_.emplace(folded, name);
            return;
        }
        if (!failure->destinationExisted) {
            noteFile(*failure);
            return;
        }
        // Only a file that stood in the tree before this run is kept in silence.
        if (!folded.empty() && !shared->second && writtenByFold_.count(folded) != 0) {
            failure->description =
                "La unidad de destino no distingue mayúsculas de minúsculas, y para ella es el "
                "mismo nombre que '" +
                textFromPath(writtenByFold_.at(folded)) + "', ya copiado en este respaldo";
            failure->source = "Copiar '" + textFromPath(source) + "'";
            findings_.failures.push_back(*failure);
            return;
        }
        if (differentVersions(files_.fileStamp(source), files_.fileStamp(target)))
            findings_.outdated.push_back(stage_.shownAs + textFromPath(name));
    }

    void commitStaged() {
        for (const Failure& failure : batch_.commit(keepAnswering_)) noteFile(failure);
    }

    // An existing tree folder or tree file is kept as it is, silently: a
    // backup into the same location adds to its tree. Once the destination
    // is gone, what else fails there is no news.
    void note(const Outcome& failure) {
        if (!failure || failure->destinationExisted || findings_.destinationGone) return;
        if (destinationGoneWith(*failure)) return;
        findings_.failures.push_back(*failure);
    }

    // A file not copied: told, or counted once the destination is gone.
    void noteFile(const Failure& failure) {
        if (failure.destinationExisted) return;
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
    const CopyProgress keepAnswering_ = [this](std::uint64_t, std::uint64_t) { observer_.keepAnswering(); };
    CopyBatch batch_{files_};
    // Whether the stage's folder stood in the tree once the stage began.
    bool targetStood_ = false;
    // Names sharing their letters with another, each with whether it stood
    // in the tree before this run.
    std::map<fs::path, bool> sharedByCase_;
    // The first name of each such group written by this run, by folded name.
    std::map<std::string, fs::path> writtenByFold_;
};

}  // namespace

void copyDataCentreStage(const DataCentreStage& stage, FileSystem& files, BackupObserver& observer,
                         DataCentreFindings& findings) {
    StageCopier(stage, files, observer, findings).run();
}

}  // namespace ruror
