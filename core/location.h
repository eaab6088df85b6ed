#pragma once

#include <filesystem>
#include <string>

namespace ruror {

// The destination folder of a backup: read once from the location field,
// and named once as the file system names it, so that every check, every
// message and the copy see the same folder. It ends in a separator only at
// a root. On Windows "E:\otra\..\Copias. " is "E:\Copias", and a drive
// alone, "E:", is its root, "E:\".
class Location {
public:
    explicit Location(std::string typed);

    // As the field holds it, UTF-8.
    const std::string& typed() const { return typed_; }
    // The folder, as a native path.
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::string typed_;
    std::filesystem::path folder_;
};

}  // namespace ruror
