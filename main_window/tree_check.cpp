#include "main_window/tree_check.h"

#include "backup/data_centre_layout.h"
#include "core/path_text.h"

namespace ruror {
namespace {

std::optional<std::string> refusal(TreeFolder found) {
    switch (found) {
        case TreeFolder::Link:
            return "Es un enlace, no una carpeta: los documentos irían a parar adonde señala, fuera de la ubicación "
                   "elegida o sobre los propios datos de Quvetra. Quite el enlace o elija otra ubicación.";
        case TreeFolder::OwnedByAnother:
            return "Es una carpeta de otro usuario: podría haber puesto en ella documentos que el respaldo tomaría "
                   "por copias, o cambiarlos después. Elija otra ubicación.";
        case TreeFolder::WritableByOthers:
            return "Cualquier usuario puede escribir en esa carpeta: podría haber puesto en ella documentos que el "
                   "respaldo tomaría por copias, o cambiarlos después. Quítele ese permiso o elija otra ubicación.";
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<BadBackupPath> checkBackupTree(FileSystem& files, const Location& location) {
    const std::filesystem::path tree = joinedPath(location.folder(), layout::kBackupTree);
    const TreeFolder treeFound = files.treeFolder(tree);
    if (auto why = refusal(treeFound)) return BadBackupPath{Control::Text1, textFromPath(tree), *why};
    if (treeFound != TreeFolder::Usable) return std::nullopt;
    for (const char* subFolder : layout::kSubFolders) {
        const std::filesystem::path folder = joinedPath(tree, subFolder);
        if (auto why = refusal(files.treeFolder(folder)))
            return BadBackupPath{Control::Text1, textFromPath(folder), *why};
    }
    return std::nullopt;
}

}  // namespace ruror
