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

void FakeWindow::setCaptionAndRepaint(Control label, const std::string& caption) {
    texts[label] = caption;
    statuses.emplace_back(caption, true);
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
