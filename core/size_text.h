#pragma once

#include <cstdint>
#include <string>

namespace ruror {

// A number of bytes as a Spanish reader reads it, with the decimal comma:
// "512 KB", "3,5 MB", "1,25 GB" (of 1,024 bytes to the KB, as Windows
// counts). Rounded down, or up where the figure must never look smaller
// than it is (what a backup needs).
std::string sizeText(std::uint64_t bytes, bool roundUp = false);

}  // namespace ruror
