#pragma once

#include <string>

namespace ruror::win32 {

// UTF-8 and UTF-16, the two sides of the program's edge with Windows.
std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& wide);

}  // namespace ruror::win32
