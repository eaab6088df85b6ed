#pragma once

#include <string>

namespace ruror {

// Removes leading and trailing spaces (only spaces, as the name fields are trimmed).
inline std::string trimmedSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The number of characters of a UTF-8 text.
inline int characterCount(const std::string& utf8) {
    int count = 0;
    for (const unsigned char byte : utf8)
        if ((byte & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace ruror
