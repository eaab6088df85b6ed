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
    if (stem.rfind("COM", 0) != 0 && stem.rfind("LPT", 0) != 0) return false;
    // Ports are numbered 0 to 9, and Windows reads the superscripts ¹ ² ³
    // (in UTF-8 here) as digits too.
    const std::string number = stem.substr(3);
    static constexpr std::array<const char*, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    if (number.size() == 1) return std::isdigit(static_cast<unsigned char>(number[0])) != 0;
    return std::find(kSuperscripts.begin(), kSuperscripts.end(), number) != kSuperscripts.end();
}

}  // namespace ruror
