#pragma once

#include <filesystem>
#include <string>

#include "core/stop_request.h"

namespace ruror {

// What one backup is asked to do, taken from the window once, before the copy.
struct BackupRequest {
    std::filesystem::path programFolder;  // Quvetra's folder, where the database and the data centre are
    std::filesystem::path location;       // the destination folder, normalised
    std::string name;                     // the backup's name, trimmed
    bool dataCentre = false;              // whether the data centre is copied too
    const StopRequest* stop = nullptr;    // asked when the backup is to stop where it is
};

}  // namespace ruror
