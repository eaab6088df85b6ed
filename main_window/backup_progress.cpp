#include "main_window/backup_progress.h"

#include <algorithm>
#include <string>

#include "core/size_text.h"
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

// The share of the whole backup written, and how much of how much: "37 % ·
// 380,5 MB de 1,0 GB". Set only when it reads otherwise, which is seldom
// against the pieces the copy reports in.
void BackupProgress::written(std::uint64_t bytes) {
    written_ += bytes;
    if (total_ == 0) return;
    const std::uint64_t done = std::min(written_, total_);
    std::string figures = std::to_string(done * 100 / total_) + " % · " + sizeText(done) + " de " + sizeText(total_);
    if (figures == shown_) return;
    shown_ = std::move(figures);
    window_.setProgressFigures(shown_);
}

}  // namespace ruror
