#pragma once

#include <string>

namespace ruror {

// Names Windows gives to devices (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9), with or without an extension: a file of that name is written to
// the device, and nothing is saved.
bool isReservedWindowsName(const std::string& fileName);

}  // namespace ruror
