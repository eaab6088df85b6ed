#pragma once

#include <filesystem>
#include <memory>

#include "tests/support/temp_folder.h"

namespace ruror::test {

// A FAT file system, as on most USB drives, in an image file mounted with
// fusefat for as long as the object lives. FAT holds no permission bits and
// no links, and this driver has none of Linux's extra file calls.
class FatDrive {
public:
    // Empty where the machine cannot make or mount one (no mkfs.vfat or
    // fusefat, or no /dev/fuse).
    static std::unique_ptr<FatDrive> mount();
    ~FatDrive();

    const std::filesystem::path& path() const { return mountPoint_; }
    // The drive pulled out: its empty mount point stays behind.
    void unplug();

private:
    FatDrive() = default;
    TempFolder folder_;
    std::filesystem::path mountPoint_;
};

}  // namespace ruror::test
