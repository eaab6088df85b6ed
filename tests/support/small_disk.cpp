#include "tests/support/small_disk.h"

#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>

namespace ruror::test {

std::unique_ptr<SmallDisk> SmallDisk::mount(std::uint64_t bytes, bool readOnly) {
    std::string folder = (std::filesystem::temp_directory_path() / "ruror-disk-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return nullptr;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (::mount("tmpfs", folder.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, options.c_str()) != 0) {
        rmdir(folder.c_str());
        return nullptr;
    }
    return std::unique_ptr<SmallDisk>(new SmallDisk(folder));
}

SmallDisk::~SmallDisk() {
    umount2(path_.c_str(), MNT_DETACH);
    rmdir(path_.c_str());
}

}  // namespace ruror::test
