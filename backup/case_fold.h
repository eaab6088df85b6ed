#pragma once

#include <string>

namespace ruror {

// A file name as a drive that ignores case sees it (FAT and exFAT sticks,
// NTFS, Windows shares): two names with the same folded form are one file
// there. Folds ASCII and the Latin, Greek and Cyrillic capitals of UTF-8;
// other bytes, valid UTF-8 or not, stay as they are.
std::string caseFolded(const std::string& name);

}  // namespace ruror
