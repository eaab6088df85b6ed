#include "backup/fun_copiar.h"

#include <string>
#include <vector>

#include "backup/data_centre_failures.h"
#include "backup/data_centre_layout.h"
#include "backup/failure_report.h"
#include "platform/path_text.h"
#include "platform/text_utils.h"

namespace ruror {
namespace {

namespace fs = std::filesystem;

struct DataCentreStage {
    const char* status;
    fs::path source;  // folder of Quvetra's data centre
    fs::path target;  // folder of the backup tree
    fs::path parent;  // the folder the target is made in
};

class BackupRun {
public:
    BackupRun(WindowOps& window, Dialogs& dialogs, FileSystem& files)
        : window_(window), dialogs_(dialogs), files_(files) {}

    bool run() {
        window_.setCaptionAndRepaint(Control::Label3, std::string("Proceso 1 de ") + (dataCentreOption() ? "5" : "1") +
                                                          ": Creando respaldo principal...");
        if (const Outcome failure = copyDatabase()) {
            dialogs_.messageBox(failureReportText(*failure, textFromPath(currentFile_)), box::kOkOnly,
                                kFailureReportTitle);
            return false;
        }
        if (dataCentreOption()) {
            for (const DataCentreStage& stage : dataCentreStages()) copyStage(stage);
        }
        window_.setProgress(0, 0);
        window_.setCaption(Control::Label3, "Procesos completos");
        // Whatever the data centre could not give is told, and the backup is
        // not called a success.
        if (!skipped_.empty()) {
            dialogs_.messageBox(dataCentreFailuresText(skipped_), box::kOkOnly | box::kCritical,
                                kDataCentreFailuresTitle);
            return false;
        }
        return true;
    }

private:
    bool dataCentreOption() const {
        return window_.isVisible(Control::Check1) && window_.checkState(Control::Check1) == 1;
    }

    // The location is read afresh each time a destination is built.
    fs::path location() const { return pathFromText(window_.text(Control::Text1)); }

    Outcome copyDatabase() {
        const fs::path programFolder = files_.programFolder();
        fs::path database = joinedPath(programFolder, layout::kDatabaseMdb);
        if (files_.findFirst(database, attribute::kNormal).empty()) {
            database = joinedPath(programFolder, layout::kDatabaseAccdb);
            // The accept flow refuses a program folder without a database.
            if (files_.findFirst(database, attribute::kNormal).empty()) return std::nullopt;
        }
        const fs::path backupFile = layout::backupFile(location(), trimmedSpaces(window_.text(Control::Text2)));
        files_.removeAbandonedTemporaryFiles(backupFile.parent_path());
        const Outcome failure =
            files_.copyFile(database, backupFile, true, [this](std::uint64_t done, std::uint64_t total) {
                window_.setProgress(static_cast<long long>(done), static_cast<long long>(total));
                window_.processEvents();
            });
        if (failure) return failure;
        return files_.flushFolder(backupFile.parent_path());
    }

    std::vector<DataCentreStage> dataCentreStages() const {
        const fs::path dataCentre = joinedPath(files_.programFolder(), layout::kDataCentreFolder);
        const fs::path tree = joinedPath(location(), layout::kBackupTree);
        std::vector<DataCentreStage> stages = {
            {"Proceso 2 de 5: Respaldando centro de datos...", dataCentre, tree, location()}};
        const char* statuses[] = {"Proceso 3 de 5: Respaldando Archivo...", "Proceso 4 de 5: Respaldando Plantillas...",
                                  "Proceso 5 de 5: Respaldando Referencias..."};
        for (std::size_t i = 0; i < layout::kSubFolders.size(); ++i) {
            const char* subFolder = layout::kSubFolders[i];
            stages.push_back({statuses[i], joinedPath(dataCentre, subFolder), joinedPath(tree, subFolder), tree});
        }
        return stages;
    }

    // A failing step of the data-centre stages is noted and the run goes on.
    void copyStage(const DataCentreStage& stage) {
        window_.setCaptionAndRepaint(Control::Label3, stage.status);
        const Outcome notCreated = files_.createFolder(stage.target);
        note(notCreated);
        files_.removeAbandonedTemporaryFiles(stage.target);

        std::vector<fs::path> names;
        for (currentFile_ = files_.findFirst(joinedPath(stage.source, "*.*"), attribute::kArchive);
             !currentFile_.empty(); currentFile_ = files_.findNext()) {
            names.push_back(currentFile_);
        }
        note(files_.listingFailure());
        const auto total = static_cast<long long>(names.size());
        window_.setProgress(0, total);
        const CopyProgress keepAnswering = [this](std::uint64_t, std::uint64_t) { window_.processEvents(); };
        long long done = 0;
        for (const fs::path& name : names) {
            currentFile_ = name;
            note(files_.stageCopy(joinedPath(stage.source, name), joinedPath(stage.target, name), keepAnswering));
            window_.setProgress(++done, total);
            window_.processEvents();
        }
        for (const Failure& failure : files_.commitCopies(keepAnswering)) note(failure);
        if (!names.empty()) note(files_.flushFolder(stage.target));
        if (!notCreated) note(files_.flushFolder(stage.parent));
    }

    // An existing tree folder or tree file is kept as it is, silently: a
    // backup into the same location adds to its tree.
    void note(const Outcome& failure) {
        if (failure && !failure->destinationExisted) skipped_.push_back(*failure);
    }

    WindowOps& window_;
    Dialogs& dialogs_;
    FileSystem& files_;
    // The name the data-centre listing stands at, told in the failure report.
    fs::path currentFile_;
    std::vector<Failure> skipped_;
};

}  // namespace

bool FunCopiar(WindowOps& window, Dialogs& dialogs, FileSystem& files) {
    return BackupRun(window, dialogs, files).run();
}

}  // namespace ruror
