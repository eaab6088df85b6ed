#pragma once

#include <windows.h>

#include <string>

#include "core/failure.h"

namespace ruror::win32 {

// The Spanish description of a Windows error code: our own words for the
// common ones, the system's own message for the rest.
std::string spanishErrorText(DWORD error);

// A failure carrying a Windows error code, its description and what failed.
Failure windowsFailure(DWORD error, std::string source);

// The failure of a copy or folder whose destination exists and is kept.
Failure destinationKept(std::string source);

// Quotes a path for a message.
std::string quoted(const std::wstring& path);

}  // namespace ruror::win32
