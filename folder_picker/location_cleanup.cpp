#include "folder_picker/location_cleanup.h"

namespace ruror {

std::string cleanedLocation(const std::string& chosen, char separator) {
    if (chosen.empty()) return chosen;
    // Bytes, not characters: a separator is one byte and never part of a
    // longer UTF-8 sequence, so the result is the same.
    const std::string rest = (chosen + separator).substr(2);
    std::string result = chosen.substr(0, 2);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        result += rest[i];
        if (rest[i] == separator && i + 1 < rest.size() && rest[i + 1] == separator) ++i;
    }
    return result;
}

}  // namespace ruror
