#include "backup/left_out_folders.h"

#include <algorithm>

#include "backup/data_centre_layout.h"
#include "core/path_text.h"

namespace ruror {
namespace {

namespace fs = std::filesystem;

// Deep enough for any real folder tree.
constexpr int kDeepest = 32;

// The plain files of a folder and of the folders within it, counted up to
// one more than kMostFilesCounted.
std::size_t filesWithin(FileSystem& files, const fs::path& folder, int depth, std::size_t counted) {
    for (fs::path name = files.findFirst(joinedPath(folder, "*.*"), attribute::kArchive);
         !name.empty() && counted < kMoreFilesThanCounted; name = files.findNext()) {
        ++counted;
    }
    if (depth < kDeepest) {
        for (const fs::path& inner : files.subFolders(folder)) {
            if (counted >= kMoreFilesThanCounted) break;
            counted = filesWithin(files, joinedPath(folder, inner), depth + 1, counted);
        }
    }
    return counted;
}

void addLeftOut(FileSystem& files, const fs::path& folder, const std::string& shownPrefix,
                const std::vector<std::string>& taken, std::vector<LeftOut>& found) {
    for (const fs::path& inner : files.subFolders(folder)) {
        const std::string name = textFromPath(inner);
        if (std::find(taken.begin(), taken.end(), name) != taken.end()) continue;
        const std::size_t count = filesWithin(files, joinedPath(folder, inner), 1, 0);
        if (count > 0) found.push_back({shownPrefix + name, count, false});
    }
}

}  // namespace

std::vector<LeftOut> leftOutFolders(FileSystem& files, const fs::path& dataCentre) {
    std::vector<LeftOut> found;
    const std::vector<std::string> taken(layout::kSubFolders.begin(), layout::kSubFolders.end());
    addLeftOut(files, dataCentre, "", taken, found);
    const char separator = static_cast<char>(fs::path::preferred_separator);
    for (const char* subFolder : layout::kSubFolders)
        addLeftOut(files, joinedPath(dataCentre, subFolder), std::string(subFolder) + separator, {}, found);
    return found;
}

}  // namespace ruror
