#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace ruror::win32 {

// Reads from an offset until the buffer is full or the file ends: the bytes
// read, or the negative Windows error code.
long long readFrom(HANDLE file, char* buffer, std::size_t size, std::uint64_t offset);

// Writes all of a piece at its offset: 0 or the Windows error code. With
// `unbuffered` (a handle opened with FILE_FLAG_NO_BUFFERING) the piece is
// padded with zeros to whole blocks first, in its own spare room.
DWORD writeAt(HANDLE file, char* piece, std::size_t length, std::uint64_t offset, bool unbuffered);

}  // namespace ruror::win32
