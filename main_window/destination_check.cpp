#include "main_window/destination_check.h"

#include "backup/data_centre_layout.h"
#include "core/path_text.h"

namespace ruror {

std::optional<BadBackupPath> checkDestination(FileSystem& files, const Location& location,
                                              const std::string& trimmedName) {
    const std::filesystem::path backupFile = layout::backupFile(location.folder(), trimmedName);
    const std::string shown = textFromPath(backupFile);
    const std::filesystem::path dataCentre = joinedPath(files.programFolder(), layout::kDataCentreFolder);
    if (files.liesWithin(location.folder(), dataCentre)) {
        return BadBackupPath{Control::Text1, shown,
                             "La ubicación está dentro de la carpeta de datos de Quvetra '" + textFromPath(dataCentre) +
                                 "': el respaldo quedaría entre los datos que respalda, y cada respaldo copiaría los "
                                 "anteriores."};
    }
    // Found now, before anything is written, with the window still open.
    if (!files.isFolder(location.folder())) {
        const std::string folder = textFromPath(location.folder());
        if (files.destinationState(location.folder()) == Destination::Free) {
            return BadBackupPath{
                Control::Text1, shown,
                "La carpeta '" + folder + "' no existe. Elija una carpeta que exista, o créela antes."};
        }
        return BadBackupPath{Control::Text1, shown, "'" + folder + "' no es una carpeta."};
    }
    const bool folderThere = !files.findFirst(backupFile, attribute::kDirectory).empty() &&
                             files.findFirst(backupFile, attribute::kArchive).empty();
    if (folderThere) return BadBackupPath{Control::Text2, shown, "Ya existe una carpeta con ese nombre."};
    // The question before replacing asks only about plain files; a hidden
    // or system file is never replaced, as the platform's own copy refuses.
    const bool hiddenFileThere = files.findFirst(backupFile, attribute::kArchive).empty() &&
                                 !files.findFirst(backupFile, attribute::kHidden | attribute::kSystem).empty();
    if (hiddenFileThere) {
        return BadBackupPath{Control::Text2, shown,
                             "Ya existe un archivo oculto o de sistema con ese nombre, y no se reemplaza. Elija otro "
                             "nombre."};
    }

    return std::nullopt;
}

}  // namespace ruror
