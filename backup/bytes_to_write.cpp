#include "backup/bytes_to_write.h"

#include <cstdint>

#include "backup/data_centre_layout.h"
#include "backup/quvetra_database.h"
#include "core/path_text.h"

namespace ruror {
namespace {

namespace fs = std::filesystem;

std::uint64_t sizeOf(FileSystem& files, const fs::path& file) {
    const std::optional<FileStamp> stamp = files.fileStamp(file);
    return stamp ? stamp->size : 0;
}

// The files of one folder of the data centre that its folder of the tree
// lacks; those too large for the drive are not written at all, but told.
std::uint64_t newInFolder(FileSystem& files, const fs::path& source, const fs::path& target, std::uint64_t largest) {
    std::vector<fs::path> names;
    for (fs::path name = files.findFirst(joinedPath(source, "*.*"), attribute::kArchive); !name.empty();
         name = files.findNext()) {
        names.push_back(name);
    }
    std::uint64_t bytes = 0;
    for (const fs::path& name : names) {
        if (files.destinationState(joinedPath(target, name)) != Destination::Free) continue;
        const std::uint64_t size = sizeOf(files, joinedPath(source, name));
        if (size <= largest) bytes += size;
    }
    return bytes;
}

}  // namespace

std::uint64_t bytesToWrite(FileSystem& files, const BackupRequest& request) {
    std::uint64_t bytes = sizeOf(files, quvetraDatabase(files, request.programFolder));
    if (!request.dataCentre) return bytes;
    const fs::path dataCentre = joinedPath(request.programFolder, layout::kDataCentreFolder);
    const fs::path tree = joinedPath(request.location, layout::kBackupTree);
    const std::uint64_t largest = files.largestFileOn(request.location).value_or(UINT64_MAX);
    bytes += newInFolder(files, dataCentre, tree, largest);
    for (const char* subFolder : layout::kSubFolders)
        bytes += newInFolder(files, joinedPath(dataCentre, subFolder), joinedPath(tree, subFolder), largest);
    return bytes;
}

}  // namespace ruror
