#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "backup/backup_observer.h"

namespace ruror::test {

// Hears a backup and records it: the stages begun, every progress told and
// how often the window was let answer.
class RecordingObserver final : public BackupObserver {
public:
    void stageBegun(Stage stage) override {
        stages.push_back(stage);
        if (onStage) onStage(stage);
    }
    void progress(long long done, long long total) override { progressTold.emplace_back(done, total); }
    void written(std::uint64_t bytes) override { bytesWritten += bytes; }
    void keepAnswering() override { ++answered; }

    std::vector<Stage> stages;
    std::vector<std::pair<long long, long long>> progressTold;
    int answered = 0;
    std::uint64_t bytesWritten = 0;
    // Runs as each stage begins.
    std::function<void(Stage)> onStage;
};

}  // namespace ruror::test
