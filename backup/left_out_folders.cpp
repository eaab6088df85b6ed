#include "backup/left_out_folders.h"

#include <algorithm>

#include "backup/data_centre_layout.h"
#include "backup/first_twenty.h"
#include "platform/path_text.h"

namespace ruror {
namespace {

namespace fs = std::filesystem;

// Deep enough for any real folder tree, and an end to a loop of links.
constexpr int kDeepest = 32;

struct Entries {
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
};

// A folder's entries, plain files and folders apart. The listing is read
// whole first: looking each one up starts a listing of its own.
Entries entriesOf(FileSystem& files, const fs::path& folder) {
    std::vector<fs::path> names;
    for (fs::path name = files.findFirst(joinedPath(folder, "*.*"), attribute::kDirectory); !name.empty();
         name = files.findNext()) {
        names.push_back(name);
    }
    Entries entries;
    for (const fs::path& name : names) {
        const bool plain = !files.findFirst(joinedPath(folder, name), attribute::kArchive).empty();
        (plain ? entries.files : entries.folders).push_back(name);
    }
    return entries;
}

std::size_t filesWithin(FileSystem& files, const fs::path& folder, int depth) {
    const Entries entries = entriesOf(files, folder);
    std::size_t count = entries.files.size();
    if (depth < kDeepest) {
        for (const fs::path& inner : entries.folders) count += filesWithin(files, joinedPath(folder, inner), depth + 1);
    }
    return count;
}

void addLeftOut(FileSystem& files, const fs::path& folder, const std::string& shownPrefix,
                const std::vector<std::string>& taken, std::vector<LeftOutFolder>& found) {
    for (const fs::path& inner : entriesOf(files, folder).folders) {
        const std::string name = textFromPath(inner);
        if (std::find(taken.begin(), taken.end(), name) != taken.end()) continue;
        const std::size_t count = filesWithin(files, joinedPath(folder, inner), 1);
        if (count > 0) found.push_back({shownPrefix + name, count});
    }
}

}  // namespace

std::vector<LeftOutFolder> leftOutFolders(FileSystem& files, const fs::path& dataCentre) {
    std::vector<LeftOutFolder> found;
    const std::vector<std::string> taken(layout::kSubFolders.begin(), layout::kSubFolders.end());
    addLeftOut(files, dataCentre, "", taken, found);
    const char separator = static_cast<char>(fs::path::preferred_separator);
    for (const char* subFolder : layout::kSubFolders)
        addLeftOut(files, joinedPath(dataCentre, subFolder), std::string(subFolder) + separator, {}, found);
    return found;
}

std::string leftOutFoldersText(const std::vector<LeftOutFolder>& folders) {
    std::vector<std::string> lines;
    lines.reserve(folders.size());
    for (const LeftOutFolder& folder : folders) {
        lines.push_back(folder.shownAs + " (" + std::to_string(folder.files) +
                        (folder.files == 1 ? " archivo)" : " archivos)"));
    }
    return "El respaldo del centro de datos toma los archivos que están directamente en la carpeta \"QVT Datos\" y en "
           "sus carpetas Archivo, Plantillas y Referencias, y ninguna carpeta más. Estas carpetas, con sus archivos, "
           "no se han copiado:\r\n" +
           firstTwentyLines(lines) +
           "\r\n\r\nSi guardan documentos que deben respaldarse, cópielos aparte. Es solo un aviso: lo demás se ha "
           "respaldado como siempre.";
}

}  // namespace ruror
