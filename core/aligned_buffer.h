#pragma once

#include <cstddef>
#include <new>

namespace ruror {

// Reads and writes past the cache need buffers, offsets and sizes aligned
// to the drive's blocks; a page covers every usual block and sector size.
inline constexpr std::size_t kBlockAlignment = 4096;

inline std::size_t roundedUpToBlock(std::size_t size) {
    return (size + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
}

// A buffer so aligned, released on every way out.
class AlignedBuffer {
public:
    explicit AlignedBuffer(std::size_t size)
        : size_(size), data_(static_cast<char*>(::operator new(size, std::align_val_t(kBlockAlignment)))) {}
    ~AlignedBuffer() { ::operator delete(data_, std::align_val_t(kBlockAlignment)); }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;

    char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    std::size_t size_;
    char* data_;
};

}  // namespace ruror
