#pragma once

#include <cstdint>
#include <filesystem>

namespace ruror::bench {

struct QuvetraShape {
    std::uint64_t databaseBytes = 1ull << 30;
    int dataCentreFiles = 2000;
    std::uint64_t smallestFile = 4 << 10;
    std::uint64_t largestFile = 4 << 20;
    unsigned variant = 1;
};

// Lays out a synthetic Quvetra program folder: "QVT Datos.mdb" of
// incompressible bytes, and "QVT Datos" with files of log-uniform sizes
// spread over its top level and its three sub-folders. Returns the bytes of
// the data centre.
std::uint64_t makeQuvetraFolder(const std::filesystem::path& folder, const QuvetraShape& shape);

}  // namespace ruror::bench
