#include "bench/recording_observer.h"

namespace ruror::bench {

void RecordingObserver::stageBegun(Stage stage) { stages.emplace_back(stage, Clock::now()); }

void RecordingObserver::keepAnswering() {
    const auto now = Clock::now();
    noteGap(now);
    lastAnswered_ = now;
}

void RecordingObserver::finished() {
    finishedAt = Clock::now();
    noteGap(finishedAt);
}

void RecordingObserver::noteGap(Clock::time_point now) {
    if (now - lastAnswered_ <= longestFreeze) return;
    longestFreeze = now - lastAnswered_;
    if (!stages.empty()) longestFreezeStage = stages.back().first;
}

}  // namespace ruror::bench
