#include "bench/recording_window.h"

namespace ruror::bench {

std::string RecordingWindow::text(Control field) const {
    const auto found = texts_.find(field);
    return found == texts_.end() ? std::string() : found->second;
}

bool RecordingWindow::isVisible(Control control) const {
    const auto found = visible_.find(control);
    return found == visible_.end() || found->second;
}

void RecordingWindow::setCaptionAndRepaint(Control label, const std::string& caption) {
    texts_[label] = caption;
    if (label == Control::Label3) statuses.emplace_back(caption, Clock::now());
}

void RecordingWindow::setBusyPointer(bool busy) {
    const auto now = Clock::now();
    if (busy) {
        lockedAt = lastEvents_ = now;
    } else {
        unlockedAt = now;
        noteGap(now);
    }
}

void RecordingWindow::processEvents() {
    const auto now = Clock::now();
    noteGap(now);
    lastEvents_ = now;
}

void RecordingWindow::noteGap(Clock::time_point now) {
    if (now - lastEvents_ <= longestFreeze) return;
    longestFreeze = now - lastEvents_;
    longestFreezeStage = text(Control::Label3);
}

int AnsweringDialogs::messageBox(const std::string& text, int style, const std::string&) {
    texts.push_back(text);
    return (style & 7) == box::kYesNo ? box::kAnswerYes : box::kAnswerOk;
}

}  // namespace ruror::bench
