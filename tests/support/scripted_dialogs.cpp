#include "tests/support/scripted_dialogs.h"

namespace ruror::test {

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
