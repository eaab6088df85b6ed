#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/dialogs.h"

namespace ruror::test {

// Message boxes answered from a script, every one recorded.
class ScriptedDialogs final : public Dialogs {
public:
    struct Box {
        std::string text;
        int style;
        std::string title;
    };

    int messageBox(const std::string& text, int style, const std::string& title = {}) override;
    std::string chooseFolder(const std::string& prompt) override;

    // Answers given in order; once they run out, boxes answer Yes or OK.
    std::vector<int> answers;
    std::vector<Box> boxes;
    std::string folderAnswer;
    std::vector<std::string> prompts;
    // Runs while a box is shown, before it is answered.
    std::function<void(const Box&)> whileShown;
};

}  // namespace ruror::test
