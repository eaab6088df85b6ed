#include "main_window/listed_lines.h"

#include "core/text_utils.h"

namespace ruror {

std::string listedLines(const std::vector<std::string>& items) {
    constexpr std::size_t kMostItems = 20;
    // About 30 lines of a narrow box, or 15 of a wide one.
    constexpr int kMostCharacters = 1200;
    std::string text;
    std::size_t listed = 0;
    int characters = 0;
    for (const std::string& item : items) {
        characters += characterCount(item);
        if (listed == kMostItems || (listed > 0 && characters > kMostCharacters)) break;
        text += "\r\n- " + item;
        ++listed;
    }
    if (listed < items.size()) text += "\r\n\r\nY " + std::to_string(items.size() - listed) + " más.";
    return text;
}

}  // namespace ruror
