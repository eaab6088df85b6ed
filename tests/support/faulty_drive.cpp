#include "tests/support/faulty_drive.h"

#include <signal.h>
#include <sys/mount.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace ruror::test {
namespace {

constexpr long kFuseMagic = 0x65735546;
// Debian's own Python, which has fusepy, whatever python3 comes first on the PATH.
constexpr const char* kPython = "/usr/bin/python3";

bool mounted(const std::filesystem::path& folder) {
    struct statfs found {};
    return statfs(folder.c_str(), &found) == 0 && found.f_type == kFuseMagic;
}

}  // namespace

std::unique_ptr<FaultyDrive> FaultyDrive::mount(const Faults& faults, std::string& why) {
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
        why = "needs /dev/fuse";
        return nullptr;
    }
    if (std::system((std::string(kPython) + " -c 'import fusepy' >/dev/null 2>&1").c_str()) != 0) {
        why = "needs Debian's python3-fusepy";
        return nullptr;
    }
    std::unique_ptr<FaultyDrive> drive(new FaultyDrive);
    drive->mountPoint_ = drive->folder_ / "drive";
    std::filesystem::create_directory(drive->mountPoint_);
    std::filesystem::create_directory(drive->backing());
    std::vector<std::string> arguments = {kPython, std::string(SOURCE_DIR) + "/tests/support/faulty_drive.py",
                                          drive->backing().string(), drive->mountPoint_.string()};
    if (!faults.corrupt.empty()) arguments.insert(arguments.end(), {"--corrupt", faults.corrupt});
    if (faults.keep >= 0) arguments.insert(arguments.end(), {"--keep", std::to_string(faults.keep)});
    drive->daemon_ = fork();
    if (drive->daemon_ == 0) {
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(kPython, argv.data());
        _exit(127);
    }
    for (int i = 0; i < 100 && !mounted(drive->mountPoint_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!mounted(drive->mountPoint_)) {
        why = "the FUSE drive did not mount";
        return nullptr;
    }
    return drive;
}

FaultyDrive::~FaultyDrive() {
    if (!mountPoint_.empty()) umount2(mountPoint_.c_str(), MNT_DETACH);
    if (daemon_ > 0) {
        kill(daemon_, SIGTERM);
        waitpid(daemon_, nullptr, 0);
    }
}

}  // namespace ruror::test
