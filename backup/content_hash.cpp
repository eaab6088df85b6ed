#include "backup/content_hash.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace ruror {

struct ContentHash::State {
    XXH3_state_t xxh;
};

ContentHash::ContentHash() : state_(std::make_unique<State>()) { XXH3_128bits_reset(&state_->xxh); }
ContentHash::~ContentHash() = default;
ContentHash::ContentHash(ContentHash&&) noexcept = default;
ContentHash& ContentHash::operator=(ContentHash&&) noexcept = default;

void ContentHash::add(const void* data, std::size_t size) { XXH3_128bits_update(&state_->xxh, data, size); }

ContentHash::Digest ContentHash::digest() const {
    const XXH128_hash_t hash = XXH3_128bits_digest(&state_->xxh);
    return Digest{hash.low64, hash.high64};
}

}  // namespace ruror
