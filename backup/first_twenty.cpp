#include "backup/first_twenty.h"

namespace ruror {

std::string firstTwentyLines(const std::vector<std::string>& items) {
    constexpr std::size_t kListed = 20;
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < kListed; ++i) text += "\r\n- " + items[i];
    if (items.size() > kListed) text += "\r\n\r\nY " + std::to_string(items.size() - kListed) + " más.";
    return text;
}

}  // namespace ruror
