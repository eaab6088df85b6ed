#pragma once

#include <filesystem>

#include "core/file_system.h"

namespace ruror {

// The database file a backup copies: "QVT Datos.mdb" where it exists,
// otherwise "QVT Datos.accdb"; an empty path where neither does.
std::filesystem::path quvetraDatabase(FileSystem& files, const std::filesystem::path& programFolder);

}  // namespace ruror
