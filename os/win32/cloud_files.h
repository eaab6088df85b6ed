#pragma once

#include <windows.h>

#include <string>

#include "core/failure.h"

namespace ruror::win32 {

// A document that OneDrive or another sync client keeps only in the cloud,
// going by its attributes: reading it would download it first, slowly or
// not at all without a network, and the backup would hold what happened to
// be downloaded. It is not copied; the failure says why and what to do.
// Empty for a document that is on this device.
Outcome cloudOnlyFailure(DWORD attributes, const std::string& sourceText);

}  // namespace ruror::win32
