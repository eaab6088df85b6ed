#include "main_window/windows_names.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace ruror {

bool isReservedWindowsName(const std::string& fileName) {
    std::string stem = fileName.substr(0, fileName.find('.'));
    // Windows also ignores spaces before the extension: "CON .txt" is CON.
    stem.erase(stem.find_last_not_of(' ') + 1);
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static constexpr std::array<const char*, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return true;
    const bool numbered = stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0);
    return numbered && stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace ruror
