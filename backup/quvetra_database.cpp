#include "backup/quvetra_database.h"

#include "backup/data_centre_layout.h"
#include "core/path_text.h"

namespace ruror {

std::filesystem::path quvetraDatabase(FileSystem& files, const std::filesystem::path& programFolder) {
    for (const char* name : {layout::kDatabaseMdb, layout::kDatabaseAccdb}) {
        std::filesystem::path database = joinedPath(programFolder, name);
        if (!files.findFirst(database, attribute::kNormal).empty()) return database;
    }
    return {};
}

}  // namespace ruror
