#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "core/dialogs.h"
#include "core/window_ops.h"

namespace ruror::bench {

using Clock = std::chrono::steady_clock;  // for intervals, never the date

// A window that only records: its fields, when each status text appeared,
// and the longest time it went without processing its events.
class RecordingWindow final : public WindowOps {
public:
    std::string text(Control field) const override;
    void setText(Control field, const std::string& value) override { texts_[field] = value; }
    void setSelection(Control, int, int) override {}
    void setFocus(Control) override {}
    void setEnabled(Control, bool) override {}
    void setButtonEnabled(Toolbar, int, bool) override {}
    void setVisible(Control control, bool visible) override { visible_[control] = visible; }
    bool isVisible(Control control) const override;
    int checkState(Control) const override { return 1; }
    void setCaptionAndRepaint(Control label, const std::string& caption) override;
    void setCaption(Control label, const std::string& caption) override { setCaptionAndRepaint(label, caption); }
    void setBusyPointer(bool busy) override;
    void setProgress(long long, long long) override {}
    void processEvents() override;
    void postTabToFocusedControl() override {}
    void close() override {}

    // Each status text with when it was shown.
    std::vector<std::pair<std::string, Clock::time_point>> statuses;
    Clock::time_point lockedAt, unlockedAt;
    Clock::duration longestFreeze{};
    // The status text shown when the longest freeze ended.
    std::string longestFreezeStage;

private:
    std::map<Control, std::string> texts_;
    std::map<Control, bool> visible_;
    void noteGap(Clock::time_point now);

    Clock::time_point lastEvents_;
};

// Answers every box with its first button and remembers the texts.
class AnsweringDialogs final : public Dialogs {
public:
    int messageBox(const std::string& text, int style, const std::string& title = {}) override;
    std::string chooseFolder(const std::string&) override { return {}; }

    std::vector<std::string> texts;
};

}  // namespace ruror::bench
