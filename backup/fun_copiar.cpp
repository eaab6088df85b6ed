#include "backup/fun_copiar.h"

#include <string>
#include <vector>

#include "backup/data_centre_failures.h"
#include "backup/data_centre_layout.h"
#include "backup/data_centre_stage.h"
#include "backup/failure_report.h"
#include "backup/left_out_folders.h"
#include "backup/outdated_documents.h"
#include "backup/quvetra_database.h"
#include "core/path_text.h"
#include "core/text_utils.h"

namespace ruror {
namespace {

namespace fs = std::filesystem;

// The system's code for a file that is not there, the same on POSIX and Windows.
constexpr int kFileNotFound = 2;

constexpr const char* kRoomForBoth =
    ". El respaldo nuevo se escribe junto al anterior, que se conserva hasta que el nuevo se ha leído de nuevo del "
    "disco: la unidad necesita espacio para los dos. Libere espacio o use otra unidad";

class BackupRun {
public:
    BackupRun(WindowOps& window, Dialogs& dialogs, FileSystem& files)
        : window_(window), dialogs_(dialogs), files_(files) {}

    bool run() {
        window_.setCaptionAndRepaint(Control::Label3, std::string("Proceso 1 de ") + (dataCentreOption() ? "5" : "1") +
                                                          ": Creando respaldo principal...");
        if (const Outcome failure = copyDatabase()) {
            window_.setProgress(0, 0);
            dialogs_.messageBox(failureReportText(*failure, textFromPath(currentFile_)), box::kOkOnly,
                                kFailureReportTitle);
            return false;
        }
        if (dataCentreOption()) {
            for (const DataCentreStage& stage : dataCentreStages())
                copyDataCentreStage(stage, window_, files_, findings_, currentFile_);
            leftOut_ = leftOutFolders(files_, joinedPath(files_.programFolder(), layout::kDataCentreFolder));
        }
        window_.setProgress(0, 0);
        window_.setCaption(Control::Label3, "Procesos completos");
        return tellFindings();
    }

private:
    bool dataCentreOption() const {
        return window_.isVisible(Control::Check1) && window_.checkState(Control::Check1) == 1;
    }

    // The location is read afresh each time a destination is built.
    fs::path location() const { return locationPath(window_.text(Control::Text1)); }

    Outcome copyDatabase() {
        const fs::path database = quvetraDatabase(files_);
        // The accept flow found it, but it may have gone while questions
        // were answered: nothing copied is no backup.
        if (database.empty()) return databaseMissing();
        const fs::path backupFile = layout::backupFile(location(), trimmedSpaces(window_.text(Control::Text2)));
        files_.removeAbandonedTemporaryFiles(backupFile.parent_path());
        const bool replacing = !files_.findFirst(backupFile, attribute::kArchive).empty();
        Outcome failure = files_.copyFile(database, backupFile, true, [this](std::uint64_t done, std::uint64_t total) {
            window_.setProgress(static_cast<long long>(done), static_cast<long long>(total));
            window_.processEvents();
        });
        // The earlier backup is kept until the new one is whole: the drive
        // needs room for both, which a full drive is told to explain.
        if (failure && failure->diskFull && replacing) failure->description += kRoomForBoth;
        if (failure) return failure;
        return files_.flushFolder(backupFile.parent_path(), [this] { window_.processEvents(); });
    }

    Failure databaseMissing() const {
        const fs::path programFolder = files_.programFolder();
        return Failure{kFileNotFound, "No se encontró la base de datos de Quvetra",
                       "Copiar '" + textFromPath(joinedPath(programFolder, layout::kDatabaseMdb)) + "' o '" +
                           textFromPath(joinedPath(programFolder, layout::kDatabaseAccdb)) + "'"};
    }

    std::vector<DataCentreStage> dataCentreStages() const {
        const fs::path dataCentre = joinedPath(files_.programFolder(), layout::kDataCentreFolder);
        const fs::path tree = joinedPath(location(), layout::kBackupTree);
        std::vector<DataCentreStage> stages = {
            {"Proceso 2 de 5: Respaldando centro de datos...", dataCentre, tree, location(), ""}};
        const char* statuses[] = {"Proceso 3 de 5: Respaldando Archivo...", "Proceso 4 de 5: Respaldando Plantillas...",
                                  "Proceso 5 de 5: Respaldando Referencias..."};
        for (std::size_t i = 0; i < layout::kSubFolders.size(); ++i) {
            const char* subFolder = layout::kSubFolders[i];
            stages.push_back({statuses[i], joinedPath(dataCentre, subFolder), joinedPath(tree, subFolder), tree,
                              std::string(subFolder) + static_cast<char>(fs::path::preferred_separator)});
        }
        return stages;
    }

    // Folders the fixed layout leaves out, and kept documents older than
    // Quvetra's, are told, and the backup is still whole; whatever the data
    // centre could not give is told, and the backup is not called a success.
    bool tellFindings() {
        if (!leftOut_.empty()) {
            dialogs_.messageBox(leftOutFoldersText(leftOut_), box::kOkOnly | box::kInformation, kLeftOutFoldersTitle);
        }
        if (!findings_.outdated.empty()) {
            const std::string tree = textFromPath(joinedPath(location(), layout::kBackupTree));
            dialogs_.messageBox(outdatedDocumentsText(findings_.outdated, tree), box::kOkOnly | box::kInformation,
                                kOutdatedDocumentsTitle);
        }
        if (findings_.destinationGone) findings_.failures.push_back(destinationGoneLine());
        if (findings_.failures.empty()) return true;
        dialogs_.messageBox(dataCentreFailuresText(findings_.failures), box::kOkOnly | box::kCritical,
                            kDataCentreFailuresTitle);
        return false;
    }

    // One line for all the documents a destination gone away did not take.
    Failure destinationGoneLine() const {
        const std::size_t count = findings_.notCopiedSinceGone;
        Failure line = *findings_.destinationGone;
        line.source = "Copiar a '" + textFromPath(location()) + "'";
        line.description = "La unidad de destino ya no está disponible: no se copi" +
                           std::string(count == 1 ? "ó 1 documento" : "aron " + std::to_string(count) + " documentos") +
                           ". Compruebe que la memoria o el disco sigue conectado y haga el respaldo de nuevo";
        return line;
    }

    WindowOps& window_;
    Dialogs& dialogs_;
    FileSystem& files_;
    // The name the data-centre listing stands at, told in the failure report.
    fs::path currentFile_;
    DataCentreFindings findings_;
    std::vector<LeftOutFolder> leftOut_;
};

}  // namespace

bool FunCopiar(WindowOps& window, Dialogs& dialogs, FileSystem& files) {
    return BackupRun(window, dialogs, files).run();
}

}  // namespace ruror
