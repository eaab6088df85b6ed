#pragma once

#include <chrono>
#include <vector>

#include "backup/backup_observer.h"

namespace ruror::bench {

using Clock = std::chrono::steady_clock;  // for intervals, never the date

// Hears a backup as a window would, and only records: when each stage
// began, and the longest time the backup went without letting the window
// answer.
class RecordingObserver final : public BackupObserver {
public:
    RecordingObserver() : lastAnswered_(Clock::now()) {}

    void stageBegun(Stage stage) override;
    void progress(long long, long long) override {}
    void written(std::uint64_t) override {}
    void keepAnswering() override;
    // The backup returned: the last gap ends here.
    void finished();

    // Each stage with when it began.
    std::vector<std::pair<Stage, Clock::time_point>> stages;
    Clock::time_point finishedAt;
    Clock::duration longestFreeze{};
    // The stage the longest freeze ended in.
    Stage longestFreezeStage = Stage::Database;

private:
    void noteGap(Clock::time_point now);

    Clock::time_point lastAnswered_;
};

}  // namespace ruror::bench
