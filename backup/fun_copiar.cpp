#include "backup/fun_copiar.h"

#include <algorithm>

#include <string>
#include <vector>

#include "backup/data_centre_layout.h"
#include "backup/data_centre_stage.h"
#include "backup/quvetra_database.h"
#include "backup/verified_copy.h"
#include "core/path_text.h"

namespace ruror {
namespace {

namespace fs = std::filesystem;

// The system's code for a file that is not there, the same on POSIX and Windows.
constexpr int kFileNotFound = 2;

class BackupRun {
public:
    BackupRun(const BackupRequest& request, FileSystem& files, BackupObserver& observer)
        : request_(request), files_(files), observer_(observer) {}

    BackupResult run() {
        observer_.stageBegun(Stage::Database);
        result_.databaseFailure = copyDatabase();
        if (result_.databaseFailure && result_.databaseFailure->number == kStoppedOnRequest) {
            result_.databaseFailure.reset();
            result_.stopped = true;
        }
        result_.databaseCopied = !result_.databaseFailure && !result_.stopped;
        if (!result_.databaseCopied || !request_.dataCentre) return result_;
        // A data centre that is itself a link is left out as a whole, as
        // every link in it is.
        if (files_.isLink(dataCentre())) {
            result_.leftOut.push_back({layout::kDataCentreFolder, 0, true});
            return result_;
        }
        for (const DataCentreStage& stage : dataCentreStages()) {
            if (stopAsked(request_.stop)) break;
            copyDataCentreStage(stage, files_, observer_, result_.dataCentre, request_.stop);
        }
        // Asked during the last stage, or after it: what was placed stays.
        if (stopAsked(request_.stop)) {
            result_.stopped = true;
            return result_;
        }
        result_.leftOut = leftOutFolders(files_, dataCentre());
        std::sort(result_.dataCentre.links.begin(), result_.dataCentre.links.end());
        for (const std::string& link : result_.dataCentre.links) result_.leftOut.push_back({link, 0, true});
        return result_;
    }

private:
    fs::path dataCentre() const { return joinedPath(request_.programFolder, layout::kDataCentreFolder); }

    Outcome copyDatabase() {
        const fs::path database = quvetraDatabase(files_, request_.programFolder);
        // The accept flow found it, but it may have gone while questions
        // were answered: nothing copied is no backup.
        if (database.empty()) return databaseMissing();
        const fs::path backupFile = layout::backupFile(request_.location, request_.name);
        files_.removeAbandonedTemporaryFiles(backupFile.parent_path());
        std::uint64_t writtenSoFar = 0;
        const auto progress = [this, &writtenSoFar](std::uint64_t done, std::uint64_t total) {
            observer_.progress(static_cast<long long>(done), static_cast<long long>(total));
            // Writing and reading back are the bar's two halves: the
            // database counts as written once both are done.
            const std::uint64_t written = done / 2;
            if (written > writtenSoFar) observer_.written(written - writtenSoFar);
            writtenSoFar = std::max(writtenSoFar, written);
            observer_.keepAnswering();
        };
        Outcome failure = copyVerified(files_, database, backupFile, true, progress, request_.stop);
        if (failure) return failure;
        return files_.flushFolder(backupFile.parent_path(), [this] { observer_.keepAnswering(); });
    }

    Failure databaseMissing() const {
        return Failure{kFileNotFound, "No se encontró la base de datos de Quvetra",
                       "Copiar '" + textFromPath(joinedPath(request_.programFolder, layout::kDatabaseMdb)) + "' o '" +
                           textFromPath(joinedPath(request_.programFolder, layout::kDatabaseAccdb)) + "'"};
    }

    std::vector<DataCentreStage> dataCentreStages() const {
        const fs::path tree = joinedPath(request_.location, layout::kBackupTree);
        std::vector<DataCentreStage> stages = {{Stage::DataCentre, dataCentre(), tree, request_.location, ""}};
        const Stage subStages[] = {Stage::Archivo, Stage::Plantillas, Stage::Referencias};
        for (std::size_t i = 0; i < layout::kSubFolders.size(); ++i) {
            const char* subFolder = layout::kSubFolders[i];
            stages.push_back({subStages[i], joinedPath(dataCentre(), subFolder), joinedPath(tree, subFolder), tree,
                              std::string(subFolder) + static_cast<char>(fs::path::preferred_separator)});
        }
        return stages;
    }

    const BackupRequest& request_;
    FileSystem& files_;
    BackupObserver& observer_;
    BackupResult result_;
};

}  // namespace

BackupResult FunCopiar(const BackupRequest& request, FileSystem& files, BackupObserver& observer) {
    return BackupRun(request, files, observer).run();
}

}  // namespace ruror
