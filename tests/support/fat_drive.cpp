#include "tests/support/fat_drive.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <cstdlib>

namespace ruror::test {
namespace {

constexpr long kFuseMagic = 0x65735546;

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

std::unique_ptr<FatDrive> FatDrive::mount() {
    if (!run("command -v mkfs.vfat") || !run("command -v fusefat") || access("/dev/fuse", R_OK | W_OK) != 0)
        return nullptr;
    std::unique_ptr<FatDrive> drive(new FatDrive);
    const std::filesystem::path image = drive->folder_ / "usb.img";
    drive->mountPoint_ = drive->folder_ / "usb";
    std::filesystem::create_directory(drive->mountPoint_);
    const std::string quotedImage = "'" + image.string() + "'";
    if (!run("truncate -s 64M " + quotedImage) || !run("mkfs.vfat -n USB " + quotedImage) ||
        !run("fusefat -o rw+ " + quotedImage + " '" + drive->mountPoint_.string() + "'")) {
        return nullptr;
    }
    struct statfs mounted {};
    if (statfs(drive->mountPoint_.c_str(), &mounted) != 0 || mounted.f_type != kFuseMagic) return nullptr;
    return drive;
}

void FatDrive::unplug() { umount2(mountPoint_.c_str(), MNT_DETACH); }

FatDrive::~FatDrive() {
    if (!mountPoint_.empty()) unplug();
}

}  // namespace ruror::test
