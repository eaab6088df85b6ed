#include "main_window/backup_progress.h"

#include <string>

#include "main_window/messages.h"

namespace ruror {

void BackupProgress::stageBegun(Stage stage) {
    std::string status;
    switch (stage) {
        case Stage::Database:
            status =
                std::string(messages::kDatabaseStageLead) + (dataCentre_ ? "5" : "1") + messages::kDatabaseStageTail;
            break;
        case Stage::DataCentre: status = messages::kDataCentreStage; break;
        case Stage::Archivo: status = messages::kArchivoStage; break;
        case Stage::Plantillas: status = messages::kPlantillasStage; break;
        case Stage::Referencias: status = messages::kReferenciasStage; break;
    }
    window_.setCaptionAndRepaint(Control::Label3, status);
}

}  // namespace ruror
