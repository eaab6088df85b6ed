#include "os/posix/drive_limits.h"

#include <fstream>
#include <sstream>
#include <string>

#include "core/failure.h"

namespace ruror::posix {
namespace {

namespace fs = std::filesystem;

// A mount point as /proc lists it: spaces, tabs, new lines and backslashes
// as three octal digits after a backslash.
std::string unescaped(const std::string& listed) {
    std::string plain;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] == '\\' && i + 3 < listed.size()) {
            plain += static_cast<char>(std::stoi(listed.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            plain += listed[i];
        }
    }
    return plain;
}

bool isFat(const std::string& type) {
    return type == "vfat" || type == "msdos" || type == "umsdos" || type == "fuse.fusefat";
}

// Drives made for Windows, reached through FUSE or shared by Windows: the
// owners and modes they show are the mount's, the same for every file.
bool madeUpOwners(const std::string& type) {
    return isFat(type) || type == "exfat" || type == "ntfs" || type == "ntfs3" || type == "fuseblk" ||
           type.starts_with("fuse.") || type == "cifs" || type == "smb3" || type == "smbfs";
}

// How many components of the folder a mount point covers; 0 where it
// covers none of it.
std::size_t covered(const fs::path& mountPoint, const fs::path& folder) {
    std::size_t components = 0;
    auto part = folder.begin();
    for (const fs::path& component : mountPoint) {
        if (component.empty()) continue;
        if (part == folder.end() || *part != component) return 0;
        ++part;
        ++components;
    }
    return components;
}

// The type of the file system that holds the folder, as /proc names it;
// empty where it cannot be told.
std::string fileSystemType(const fs::path& folder) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(folder, error);
    if (error) return {};
    std::ifstream mounts("/proc/self/mountinfo");
    std::string line, typeOfBest;
    std::size_t best = 0;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint, field;
        fields >> id >> parent >> device >> root >> mountPoint;
        while (fields >> field && field != "-") {
        }
        std::string type;
        fields >> type;
        const std::size_t here = covered(unescaped(mountPoint), resolved);
        if (here >= best && here > 0) {
            best = here;
            typeOfBest = type;
        }
    }
    return typeOfBest;
}

}  // namespace

std::optional<std::uint64_t> largestFileOn(const fs::path& folder) {
    if (isFat(fileSystemType(folder))) return kLargestFatFile;
    return std::nullopt;
}

bool keepsOwners(const fs::path& folder) {
    const std::string type = fileSystemType(folder);
    return !type.empty() && !madeUpOwners(type);
}

}  // namespace ruror::posix
