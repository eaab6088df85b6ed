#include "bench/quvetra_generator.h"

#include <cmath>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace ruror::bench {
namespace {

// Streams random bytes in blocks, so the generator's memory stays small
// whatever the size of the database.
void writeRandomFile(const std::filesystem::path& path, std::uint64_t size, std::mt19937_64& random) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<std::uint64_t> block(1 << 17);  // 1 MiB
    while (size > 0) {
        for (auto& word : block) word = random();
        const std::uint64_t chunk = std::min<std::uint64_t>(size, block.size() * sizeof(std::uint64_t));
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(chunk));
        size -= chunk;
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

std::uint64_t makeQuvetraFolder(const std::filesystem::path& folder, const QuvetraShape& shape) {
    std::filesystem::remove_all(folder);
    const std::filesystem::path centre = folder / "QVT Datos";
    const std::filesystem::path places[] = {centre, centre / "Archivo", centre / "Plantillas", centre / "Referencias"};
    for (const auto& place : places) std::filesystem::create_directories(place);

    std::mt19937_64 random(shape.variant);
    writeRandomFile(folder / "QVT Datos.mdb", shape.databaseBytes, random);

    std::uniform_real_distribution<double> logSize(std::log(static_cast<double>(shape.smallestFile)),
                                                   std::log(static_cast<double>(shape.largestFile)));
    std::uint64_t total = 0;
    for (int i = 0; i < shape.dataCentreFiles; ++i) {
        const auto size = static_cast<std::uint64_t>(std::exp(logSize(random)));
        writeRandomFile(places[i % 4] / ("documento " + std::to_string(i) + ".pdf"), size, random);
        total += size;
    }
    return total;
}

}  // namespace ruror::bench
