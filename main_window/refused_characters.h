#pragma once

#include <string>
#include <string_view>

namespace ruror {

// The ten characters a file name cannot hold on the drives a backup goes to.
inline constexpr std::string_view kRefusedInName = "\"*./:<>?\\|";

inline bool isRefusedInName(int keyAscii) {
    return keyAscii > 0 && keyAscii < 128 && kRefusedInName.find(static_cast<char>(keyAscii)) != std::string_view::npos;
}

// Whether a name holds any of them, as pasted text can.
inline bool holdsRefusedCharacter(const std::string& name) {
    return name.find_first_of(kRefusedInName) != std::string::npos;
}

}  // namespace ruror
