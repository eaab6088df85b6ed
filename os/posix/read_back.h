#pragma once

#include <cstdint>
#include <functional>

#include "core/content_hash.h"
#include "os/posix/temporary_file.h"

namespace ruror::posix {

// Reads a flushed copy back from the drive, not from the memory cache.
class ReadBack {
public:
    explicit ReadBack(const TemporaryFile& file) : file_(file) {}

    // Hashes every byte read and counts them; tells how far it is after each
    // piece. Returns 0 or an errno value.
    int run(ContentHash& hash, std::uint64_t& total, const std::function<void(std::uint64_t done)>& progress);

private:
    int readAll(int fd, ContentHash& hash, std::uint64_t& total, const std::function<void(std::uint64_t)>& progress);

    const TemporaryFile& file_;
};

}  // namespace ruror::posix
