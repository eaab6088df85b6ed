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

int ScriptedDialogs::messageBox(const std::string& text, int style, const std::string& title) {
    boxes.push_back({text, style, title});
    if (whileShown) whileShown(boxes.back());
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    return (style & 7) == box::kYesNo ? box::kAnswerYes : box::kAnswerOk;
}

std::string ScriptedDialogs::chooseFolder(const std::string& prompt) {
    prompts.push_back(prompt);
    return folderAnswer;
}

}  // namespace ruror::test
