#pragma once

#include <cstdint>

#include "backup/content_hash.h"
#include "backup/piece_pipeline.h"

namespace ruror {

// The two ways a file's bytes move with their hash, over each platform's own
// positional reads and writes: `read` gives up to `capacity` bytes from an
// offset (0 at the end, or a negative error code) and `write` puts a piece
// at its offset (0 or an error code). A large file moves through pieces on
// helper threads (PiecePipeline) while the calling thread, the window's,
// keeps answering; a smaller one here, a piece at a time. `progress` hears
// how many bytes have been written, or read back.

// Copies the first `size` bytes, hashing what was read. The result tells
// the error and whether it came from reading (`failedFilling`).
PiecePipeline::Result copyHashing(const PiecePipeline::Fill& read, const PiecePipeline::Empty& write,
                                  std::uint64_t size, ContentHash& hash, const PiecePipeline::Between& progress);

// Reads a file of `size` bytes to its end, not to its size, so that a
// drive that gives back more than was written is found out; hashes every
// byte and counts them in `total`. Returns 0, or the error `read` gave.
int hashToEnd(const PiecePipeline::Fill& read, std::uint64_t size, ContentHash& hash, std::uint64_t& total,
              const PiecePipeline::Between& progress);

}  // namespace ruror
