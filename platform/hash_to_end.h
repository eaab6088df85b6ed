#pragma once

#include <cstdint>

#include "platform/content_hash.h"
#include "platform/piece_pipeline.h"

namespace ruror {

// Reads a file of `size` bytes through `read` to its end, not to its size,
// so that a drive that gives back more than was written is found out; hashes
// every byte and counts them in `total`. A large file is read on helper
// threads, each read overlapping the hashing of the piece before; a smaller
// one here, a piece at a time. `progress` hears how many bytes are read
// after each piece. Returns 0, or the error `read` gave.
int hashToEnd(const PiecePipeline::Fill& read, std::uint64_t size, ContentHash& hash, std::uint64_t& total,
              const PiecePipeline::Between& progress);

}  // namespace ruror
