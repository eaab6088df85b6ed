#pragma once

#include <filesystem>
#include <string>

#include "backup/backup_observer.h"
#include "backup/backup_result.h"
#include "core/file_system.h"
#include "core/stop_request.h"

namespace ruror {

// One stage of the data centre: a folder of Quvetra's data centre and the
// folder of the backup tree its files go to.
struct DataCentreStage {
    Stage stage;
    std::filesystem::path source;  // folder of Quvetra's data centre
    std::filesystem::path target;  // folder of the backup tree
    std::filesystem::path parent;  // the folder the target is made in
    std::string shownAs;           // the target's name as the user reads it: "" or "Archivo/"
};

// Copies the files of one stage into the tree without replacing any, and
// notes in the findings what could not be copied and which kept files are
// older than Quvetra's; once the destination is gone, only counts the files.
// Keeps the window answering throughout. Once `stop` is asked, copies no
// further file: the copies not yet placed are given up, their temporary
// files removed.
void copyDataCentreStage(const DataCentreStage& stage, FileSystem& files, BackupObserver& observer,
                         DataCentreFindings& findings, const StopRequest* stop = nullptr);

}  // namespace ruror
