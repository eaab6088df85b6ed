#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ruror {

// A fast 128-bit hash of a file's bytes (xxHash's XXH3-128), taken as the
// bytes go by: of the source while it is copied, of the copy as it is read
// back from the drive. Equal hashes mean the drive gave back what it got.
class ContentHash {
public:
    ContentHash();
    ~ContentHash();
    ContentHash(ContentHash&&) noexcept;
    ContentHash& operator=(ContentHash&&) noexcept;

    void add(const void* data, std::size_t size);

    struct Digest {
        std::uint64_t low = 0, high = 0;
        bool operator==(const Digest&) const = default;
    };
    Digest digest() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace ruror
