#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/window_ops.h"

namespace ruror::test {

// A window that only records: fields, states and every status text shown.
class FakeWindow final : public WindowOps {
public:
    FakeWindow();

    std::string text(Control field) const override { return texts.at(field); }
    void setText(Control field, const std::string& value) override { texts[field] = value; }
    void setSelection(Control field, int start, int length) override { selections[field] = {start, length}; }
    void setFocus(Control control) override { focus = control; }
    std::optional<ToolbarButton> markedButton() const override { return marked; }
    void setEnabled(Control control, bool value) override;
    void setButtonEnabled(Toolbar toolbar, int button, bool value) override;
    void setVisible(Control control, bool value) override { visible[control] = value; }
    bool isVisible(Control control) const override { return visible.at(control); }
    int checkState(Control) const override { return checked ? 1 : 0; }
    void setCaptionAndRepaint(Control label, const std::string& caption) override;
    void setCaption(Control label, const std::string& caption) override;
    void setBusyPointer(bool value) override;
    void setProgress(long long done, long long total) override { progress.push_back({done, total}); }
    void setProgressFigures(const std::string& figures) override { this->figures.push_back(figures); }
    void processEvents() override;
    void postTabToFocusedControl() override { ++tabsPosted; }
    void close() override;

    // Whether every input and button is enabled.
    bool allEnabled() const;

    std::map<Control, std::string> texts;
    std::map<Control, bool> visible;
    std::map<Control, bool> enabled;
    std::map<std::pair<Toolbar, int>, bool> buttonsEnabled;
    std::map<Control, std::pair<int, int>> selections;
    bool checked = true;
    Control focus = Control::Text1;
    // The toolbar button the keyboard marks, as if a toolbar had the focus.
    std::optional<ToolbarButton> marked;
    // Status texts in order, each with whether it was painted at once.
    std::vector<std::pair<std::string, bool>> statuses;
    std::vector<bool> busyHistory;
    // Every enabling, disabling and pointer change, in order: "Text1 off",
    // "Toolbar1.3 off", "busy on".
    std::vector<std::string> stateChanges;
    std::vector<std::pair<long long, long long>> progress;
    std::vector<std::string> figures;
    int eventsProcessed = 0;
    int tabsPosted = 0;
    int closeRequests = 0;
    bool closed = false;

    // Runs on every processEvents, as events reaching the window would.
    std::function<void()> onProcessEvents;
    // Runs when a status is painted, as each stage begins.
    std::function<void(const std::string&)> onStatus;
    // Runs when the pointer turns busy or back, as the window is locked before a copy.
    std::function<void(bool)> onBusyPointer;
    // Asked on every close request whether to cancel it, as the unload handler.
    std::function<bool()> cancelClose;
};

}  // namespace ruror::test
