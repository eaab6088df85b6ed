#include "core/size_text.h"

namespace ruror {
namespace {

// A figure in a unit, with that many decimals after the comma.
std::string inUnit(std::uint64_t bytes, std::uint64_t unit, int decimals, const char* name, bool roundUp) {
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    // The bytes here never pass 2^64 / 100: a drive of 160 million terabytes.
    const std::uint64_t scaled = bytes * scale;
    std::uint64_t value = scaled / unit;
    if (roundUp && scaled % unit != 0) ++value;
    std::string text = std::to_string(value / scale);
    if (decimals > 0) {
        std::string fraction = std::to_string(value % scale);
        fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
        text += "," + fraction;
    }
    return text + " " + name;
}

}  // namespace

std::string sizeText(std::uint64_t bytes, bool roundUp) {
    constexpr std::uint64_t kKB = 1024, kMB = kKB * 1024, kGB = kMB * 1024;
    if (bytes >= kGB) return inUnit(bytes, kGB, 2, "GB", roundUp);
    if (bytes >= kMB) return inUnit(bytes, kMB, 1, "MB", roundUp);
    return inUnit(bytes, kKB, 0, "KB", roundUp || bytes > 0);
}

}  // namespace ruror
