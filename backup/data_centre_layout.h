#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "core/path_text.h"

// The fixed names of Quvetra's data and of the backup written from it.
namespace ruror::layout {

inline constexpr const char* kDatabaseMdb = "QVT Datos.mdb";
inline constexpr const char* kDatabaseAccdb = "QVT Datos.accdb";
// Quvetra's lock files, standing beside the database while it is open.
inline constexpr const char* kLockFileMdb = "QVT Datos.ldb";
inline constexpr const char* kLockFileAccdb = "QVT Datos.laccdb";
inline constexpr const char* kDataCentreFolder = "QVT Datos";
inline constexpr const char* kBackupExtension = ".qvtdb";
inline constexpr const char* kBackupTree = "Respaldo QVT";
// The data centre's sub-folders that are copied, in their order.
inline constexpr std::array<const char*, 3> kSubFolders = {"Archivo", "Plantillas", "Referencias"};

// location + separator + name + ".qvtdb"; the name is already trimmed.
inline std::filesystem::path backupFile(const std::filesystem::path& location, const std::string& trimmedName) {
    return joinedPath(location, pathFromText(trimmedName + kBackupExtension));
}

}  // namespace ruror::layout
