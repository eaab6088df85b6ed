#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/temp_folder.h"

namespace ruror::test {

// A drive that lies (tests/support/faulty_drive.py, a FUSE file system),
// mounted for as long as the object lives: it takes every write and reports
// it done, but gives back other bytes, or keeps nothing past a size.
class FaultyDrive {
public:
    struct Faults {
        std::string corrupt;  // how a file's content starts, or "*" for every file; empty for none
        long long keep = -1;  // bytes kept of each file; -1 for all
    };
    // Empty where the machine cannot mount one (no /dev/fuse, fusepy or
    // python3); `why` then says what is missing.
    static std::unique_ptr<FaultyDrive> mount(const Faults& faults, std::string& why);
    ~FaultyDrive();

    const std::filesystem::path& path() const { return mountPoint_; }
    // The folder under the drive, where what it really keeps can be seen.
    std::filesystem::path backing() const { return folder_ / "backing"; }

private:
    FaultyDrive() = default;
    TempFolder folder_;
    std::filesystem::path mountPoint_;
    pid_t daemon_ = -1;
};

}  // namespace ruror::test
