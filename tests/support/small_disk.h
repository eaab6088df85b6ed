#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

namespace ruror::test {

// A tmpfs of a fixed size, mounted on a fresh folder for as long as the
// object lives: a disk that really fills up, whoever writes to it.
class SmallDisk {
public:
    // Empty where the machine does not let the tests mount (not root).
    static std::unique_ptr<SmallDisk> mount(std::uint64_t bytes, bool readOnly = false);
    ~SmallDisk();

    const std::filesystem::path& path() const { return path_; }

private:
    explicit SmallDisk(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

}  // namespace ruror::test
