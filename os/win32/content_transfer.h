#pragma once

#include <windows.h>

#include <cstdint>

#include "core/content_hash.h"
#include "core/file_system.h"

namespace ruror::win32 {

// Files this large are written past the cache (the copy's handle opened
// with FILE_FLAG_NO_BUFFERING): nothing is left for the flush to write.
inline constexpr std::uint64_t kUnbufferedFrom = 256 << 10;

// How moving a file's bytes failed: the Windows error and on which side.
struct TransferFailure {
    DWORD error = 0;
    bool onWrite = true;
};

// Copies the first `size` bytes of `in` into the empty file `out`, hashing
// what was read, and telling progress (done of twice the size: the reading
// back is the second half). A file of several pieces goes through pieces on
// helper threads, reading, hashing and writing overlapping, while the
// calling thread keeps the window answering. With `unbuffered` (a handle
// opened with FILE_FLAG_NO_BUFFERING) whole blocks are written and the file
// is cut to its size at the end.
TransferFailure copyContent(HANDLE in, HANDLE out, std::uint64_t size, bool unbuffered, ContentHash& hash,
                            const CopyProgress& progress);

// Reads a file back through a handle opened with FILE_FLAG_NO_BUFFERING,
// hashing every byte, to its end; `total` is how many bytes there were.
// Returns 0 or the Windows error code.
DWORD readBack(HANDLE file, std::uint64_t size, ContentHash& hash, std::uint64_t& total, const CopyProgress& progress);

}  // namespace ruror::win32
