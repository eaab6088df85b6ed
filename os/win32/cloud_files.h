#pragma once

#include <windows.h>

namespace ruror::win32 {

// Whether a file's attributes say that OneDrive or another sync client
// keeps its data only in the cloud: reading it would download it first.
bool isOnlyInTheCloud(DWORD attributes);

}  // namespace ruror::win32
