#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace ruror {

// What the backup leaves out of the data centre and tells: a folder its
// fixed layout does not take, with how many files it holds, its own
// sub-folders' included; or a link, which it never follows.
struct LeftOut {
    std::string shownAs;    // as the user reads it: "Otros", "Archivo/2024"
    std::size_t files = 0;  // for a folder; kMoreFilesThanCounted past the count
    bool link = false;
};

// The files of a left-out folder are counted up to this many, then told as
// "more than": a count that ran on would keep the user waiting for a number.
inline constexpr std::size_t kMostFilesCounted = 1000;
inline constexpr std::size_t kMoreFilesThanCounted = kMostFilesCounted + 1;

// The folders inside the data centre that the backup leaves out by its fixed
// layout: those beside Archivo, Plantillas and Referencias, and every folder
// inside those three. Folders that hold no file lose nothing and are left
// unnamed. Links are not followed, so the count ends however they loop.
std::vector<LeftOut> leftOutFolders(FileSystem& files, const std::filesystem::path& dataCentre);

}  // namespace ruror
