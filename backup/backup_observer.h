#pragma once

#include <cstdint>

namespace ruror {

// The stages of a backup, in their order: the database, then the data
// centre's top level and its three sub-folders.
enum class Stage { Database, DataCentre, Archivo, Plantillas, Referencias };

// Hears how a running backup goes, on the thread that runs it.
class BackupObserver {
public:
    virtual ~BackupObserver() = default;

    virtual void stageBegun(Stage stage) = 0;
    // How far the stage is: done of total, in the stage's own units (bytes
    // of the database, copied and read back; files of a data-centre stage).
    virtual void progress(long long done, long long total) = 0;
    // Bytes written since the last call, of the database or the documents.
    virtual void written(std::uint64_t bytes) = 0;
    // Called often while the backup works, so that the window can answer.
    virtual void keepAnswering() = 0;
};

}  // namespace ruror
