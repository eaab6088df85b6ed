#pragma once

#include <cstdint>

#include "core/content_hash.h"
#include "core/file_system.h"

namespace ruror::posix {

// How copying a file's bytes failed: the errno value and on which side.
struct ContentFailure {
    int error = 0;
    bool onWrite = true;
};

// Copies the first `size` bytes of `in` into the empty file `out`, hashing
// what was read for the reading back, and telling progress (done of twice
// the size: the reading back is the second half). A file of several pieces
// is written past the memory cache where the file system allows it, so
// nothing is left for a flush to write and no write-back competes with the
// copy; its reading, hashing and writing overlap on helper threads while the
// calling thread keeps the window answering. A small file is copied here,
// through the cache, for the flush of its batch to write with the others.
ContentFailure copyContent(int in, int out, std::uint64_t size, ContentHash& hash, const CopyProgress& progress);

}  // namespace ruror::posix
