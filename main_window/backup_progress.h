#pragma once

#include "backup/backup_observer.h"
#include "core/window_ops.h"

namespace ruror {

// Shows a running backup in the window: each stage in the status line,
// painted at once, its progress in the bar, and the window's events
// answered while the copy works.
class BackupProgress final : public BackupObserver {
public:
    // With the data centre the backup has five stages, without it one.
    BackupProgress(WindowOps& window, bool dataCentre) : window_(window), dataCentre_(dataCentre) {}

    void stageBegun(Stage stage) override;
    void progress(long long done, long long total) override { window_.setProgress(done, total); }
    void keepAnswering() override { window_.processEvents(); }

private:
    WindowOps& window_;
    bool dataCentre_;
};

}  // namespace ruror
