#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace ruror {

// A folder of the data centre that the backup does not take, with how many
// files it holds, its own sub-folders' included.
struct LeftOutFolder {
    std::string shownAs;  // as the user reads it: "Otros", "Archivo/2024"
    std::size_t files;
};

// The folders inside the data centre that the backup leaves out by its fixed
// layout: those beside Archivo, Plantillas and Referencias, and every folder
// inside those three. Folders that hold no file lose nothing and are left
// unnamed.
std::vector<LeftOutFolder> leftOutFolders(FileSystem& files, const std::filesystem::path& dataCentre);

}  // namespace ruror
