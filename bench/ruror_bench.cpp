// Measures the engine against the system's own copy: the real backup
// procedure, with an observer that only records, alternated with `cp`
// followed by `sync` of the same files.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "backup/fun_copiar.h"
#include "bench/quvetra_generator.h"
#include "bench/recording_observer.h"
#include "os/posix/posix_file_system.h"

namespace fs = std::filesystem;
using namespace ruror;
using Steady = bench::Clock;

namespace {

struct Options {
    fs::path work = "bench-work";
    bench::QuvetraShape shape;
    int runs = 5;
    // Only lay out the Quvetra folder, for the benchmark of the real program.
    bool layOutOnly = false;
};

struct Timing {
    double database = 0;    // seconds
    double dataCentre = 0;  // seconds
    double freeze = 0;      // seconds, for the program only
    std::string freezeStage;
};

double seconds(Steady::duration d) { return std::chrono::duration<double>(d).count(); }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void usage() {
    std::cerr << "usage: ruror_bench [--dir FOLDER] [--database-mib N] [--files N] [--min-kib N] [--max-kib N] "
                 "[--runs N] [--lay-out-only]\n";
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--lay-out-only") {
            options.layOutOnly = true;
            continue;
        }
        if (i + 1 >= argc) usage();
        const std::string value = argv[++i];
        if (flag == "--dir") {
            options.work = value;
        } else if (flag == "--database-mib") {
            options.shape.databaseBytes = std::stoull(value) << 20;
        } else if (flag == "--files") {
            options.shape.dataCentreFiles = std::stoi(value);
        } else if (flag == "--min-kib") {
            options.shape.smallestFile = std::stoull(value) << 10;
        } else if (flag == "--max-kib") {
            options.shape.largestFile = std::stoull(value) << 10;
        } else if (flag == "--runs") {
            options.runs = std::max(1, std::stoi(value));
        } else {
            usage();
        }
    }
    return options;
}

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::cerr << "failed: " << command << "\n";
        std::exit(1);
    }
}

// Appended piece by piece, as GCC 12 at -O3 wants it (see verified_copy.cpp).
std::string quote(const fs::path& path) {
    std::string text(1, '\'');
    text += path.string();
    text += '\'';
    return text;
}

// A fresh, empty destination whose earlier contents are already off the disk's queue.
void emptyDestination(const fs::path& destination) {
    fs::remove_all(destination);
    fs::create_directories(destination);
    run("sync -f " + quote(destination));
}

const char* stageName(Stage stage) {
    switch (stage) {
        case Stage::Database: return "database";
        case Stage::DataCentre: return "data centre";
        case Stage::Archivo: return "Archivo";
        case Stage::Plantillas: return "Plantillas";
        case Stage::Referencias: return "Referencias";
    }
    return "";
}

Timing backUpWithRuror(const fs::path& program, const fs::path& destination) {
    emptyDestination(destination);
    posix::PosixFileSystem files(program);
    bench::RecordingObserver observer;
    const BackupResult result = FunCopiar(BackupRequest{program, destination, "Respaldo", true}, files, observer);
    observer.finished();
    if (!result.complete()) {
        std::cerr << "the backup failed"
                  << (result.databaseFailure ? ": " + result.databaseFailure->description : std::string()) << "\n";
        std::exit(1);
    }
    Timing timing;
    const auto& stages = observer.stages;
    timing.database = seconds(stages.at(1).second - stages.at(0).second);
    timing.dataCentre = seconds(observer.finishedAt - stages.at(1).second);
    timing.freeze = seconds(observer.longestFreeze);
    timing.freezeStage = stageName(observer.longestFreezeStage);
    return timing;
}

Timing backUpWithCp(const fs::path& program, const fs::path& destination) {
    emptyDestination(destination);
    Timing timing;
    auto start = Steady::now();
    run("cp " + quote(program / "QVT Datos.mdb") + " " + quote(destination / "cp.qvtdb") + " && sync -f " +
        quote(destination));
    timing.database = seconds(Steady::now() - start);

    start = Steady::now();
    std::string command;
    const fs::path tree = destination / "Respaldo QVT";
    for (const char* sub : {"", "Archivo", "Plantillas", "Referencias"}) {
        const fs::path from = program / "QVT Datos" / sub;
        const fs::path to = tree / sub;
        command += "mkdir -p " + quote(to) + " && find " + quote(from) + " -maxdepth 1 -type f -exec cp -p -t " +
                   quote(to) + " {} + && ";
    }
    run(command + "sync -f " + quote(destination));
    timing.dataCentre = seconds(Steady::now() - start);
    return timing;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    const fs::path program = fs::absolute(options.work) / "Quvetra";
    const fs::path destination = fs::absolute(options.work) / "Copias";

    std::printf("Laying out %s: database %llu MiB, %d data-centre files of %llu KiB to %llu KiB\n", program.c_str(),
                static_cast<unsigned long long>(options.shape.databaseBytes >> 20), options.shape.dataCentreFiles,
                static_cast<unsigned long long>(options.shape.smallestFile >> 10),
                static_cast<unsigned long long>(options.shape.largestFile >> 10));
    const std::uint64_t centreBytes = bench::makeQuvetraFolder(program, options.shape);
    std::printf("Data centre: %.1f MiB\n", static_cast<double>(centreBytes) / (1 << 20));
    // The generated files go to the disk first, so the first run does not
    // compete with their write-back.
    run("sync -f " + quote(program));
    if (options.layOutOnly) return 0;

    // One run of each that is not counted: the first writes after laying out
    // the data find the disk still settling.
    backUpWithRuror(program, destination);
    backUpWithCp(program, destination);

    std::vector<double> rurorDatabase, rurorCentre, cpDatabase, cpCentre;
    double longestFreeze = 0;
    for (int i = 0; i < options.runs; ++i) {
        // Each goes first in every other run, so neither always finds the
        // disk and the caches as the other left them.
        Timing ruror, cp;
        if (i % 2 == 0) {
            ruror = backUpWithRuror(program, destination);
            cp = backUpWithCp(program, destination);
        } else {
            cp = backUpWithCp(program, destination);
            ruror = backUpWithRuror(program, destination);
        }
        std::printf(
            "run %d: RUROR database %.3f s, data centre %.3f s, longest freeze %.1f ms (%s) | "
            "cp+sync database %.3f s, data centre %.3f s\n",
            i + 1, ruror.database, ruror.dataCentre, ruror.freeze * 1000, ruror.freezeStage.c_str(), cp.database,
            cp.dataCentre);
        rurorDatabase.push_back(ruror.database);
        rurorCentre.push_back(ruror.dataCentre);
        cpDatabase.push_back(cp.database);
        cpCentre.push_back(cp.dataCentre);
        longestFreeze = std::max(longestFreeze, ruror.freeze);
    }
    fs::remove_all(destination);

    std::printf("\nMedians of %d runs      RUROR      cp+sync    ratio\n", options.runs);
    std::printf("database stage       %8.3f s  %8.3f s  %6.2f\n", median(rurorDatabase), median(cpDatabase),
                median(rurorDatabase) / median(cpDatabase));
    std::printf("data-centre stages   %8.3f s  %8.3f s  %6.2f\n", median(rurorCentre), median(cpCentre),
                median(rurorCentre) / median(cpCentre));
    std::printf("longest freeze of the window: %.1f ms\n", longestFreeze * 1000);
    std::printf("peak resident memory: %.1f MiB\n", peakResidentMiB());
    return 0;
}
