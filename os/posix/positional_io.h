#pragma once

#include <cstddef>
#include <cstdint>

namespace ruror::posix {

// Reads from an offset until the buffer is full or the file ends; the bytes
// read, or a negative errno value. A read past the cache that stops short of
// a whole block is the end of the file.
long long readAt(int fd, char* buffer, std::size_t size, std::uint64_t offset);

// Writes all of the bytes at an offset; 0 or an errno value.
int writeAt(int fd, const char* data, std::size_t size, std::uint64_t offset);

}  // namespace ruror::posix
