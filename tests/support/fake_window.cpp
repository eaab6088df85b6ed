#include "tests/support/fake_window.h"

namespace ruror::test {

FakeWindow::FakeWindow() {
    for (const Control control : {Control::Label1_0, Control::Label1_1, Control::Text1, Control::Text2, Control::Check1,
                                  Control::Label2, Control::Label3}) {
        texts[control] = "";
        visible[control] = true;
        enabled[control] = true;
    }
    for (const auto& button : {std::pair{Toolbar::Toolbar1, 1}, {Toolbar::Toolbar1, 3}, {Toolbar::Toolbar2, 1}})
        buttonsEnabled[button] = true;
}

namespace {

const char* nameOf(Control control) {
    switch (control) {
        case Control::Label1_0: return "Label1(0)";
        case Control::Label1_1: return "Label1(1)";
        case Control::Text1: return "Text1";
        case Control::Text2: return "Text2";
        case Control::Check1: return "Check1";
        case Control::Label2: return "Label2";
        case Control::Label3: return "Label3";
    }
    return "?";
}

const char* onOff(bool value) { return value ? " on" : " off"; }

}  // namespace

void FakeWindow::setEnabled(Control control, bool value) {
    enabled[control] = value;
    stateChanges.push_back(nameOf(control) + std::string(onOff(value)));
}

void FakeWindow::setButtonEnabled(Toolbar toolbar, int button, bool value) {
    buttonsEnabled[{toolbar, button}] = value;
    stateChanges.push_back((toolbar == Toolbar::Toolbar1 ? "Toolbar1." : "Toolbar2.") + std::to_string(button) +
                           onOff(value));
}

void FakeWindow::setBusyPointer(bool value) {
    busyHistory.push_back(value);
    stateChanges.push_back(std::string("busy") + onOff(value));
    if (onBusyPointer) onBusyPointer(value);
}

void FakeWindow::setCaptionAndRepaint(Control label, const std::string& caption) {
    texts[label] = caption;
    statuses.emplace_back(caption, true);
    if (onStatus) onStatus(caption);
}

void FakeWindow::setCaption(Control label, const std::string& caption) {
    texts[label] = caption;
    statuses.emplace_back(caption, false);
}

void FakeWindow::processEvents() {
    ++eventsProcessed;
    if (onProcessEvents) onProcessEvents();
}

void FakeWindow::close() {
    ++closeRequests;
    if (!cancelClose || !cancelClose()) closed = true;
}

bool FakeWindow::allEnabled() const {
    for (const auto& [control, on] : enabled)
        if (!on) return false;
    for (const auto& [button, on] : buttonsEnabled)
        if (!on) return false;
    return true;
}

}  // namespace ruror::test
