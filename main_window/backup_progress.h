#pragma once

#include <cstdint>
#include <string>

#include "backup/backup_observer.h"
#include "core/window_ops.h"

namespace ruror {

// Shows a running backup in the window: each stage in the status line,
// painted at once, its progress in the bar, and the window's events
// answered while the copy works.
class BackupProgress final : public BackupObserver {
public:
    // With the data centre the backup has five stages, without it one.
    // `bytesToWrite` is what the whole backup will write, as far as known
    // before it; the figures under the bar count against it.
    BackupProgress(WindowOps& window, bool dataCentre, std::uint64_t bytesToWrite)
        : window_(window), dataCentre_(dataCentre), total_(bytesToWrite) {}
    ~BackupProgress() override { window_.setProgressFigures({}); }
    BackupProgress(const BackupProgress&) = delete;
    BackupProgress& operator=(const BackupProgress&) = delete;

    void stageBegun(Stage stage) override;
    void progress(long long done, long long total) override { window_.setProgress(done, total); }
    void written(std::uint64_t bytes) override;
    void keepAnswering() override { window_.processEvents(); }

private:
    WindowOps& window_;
    bool dataCentre_;
    std::uint64_t total_;
    std::uint64_t written_ = 0;
    std::string shown_;
};

}  // namespace ruror
