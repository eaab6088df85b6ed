#pragma once

#include <string>

namespace ruror {

// Message-box style codes and answers, with the values of the classic
// desktop message box so the texts and styles read as they are specified.
namespace box {
inline constexpr int kOkOnly = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
// Makes the second button the default one (a Yes/No box then defaults to No).
inline constexpr int kDefaultButton2 = 256;

inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
}  // namespace box

// The modal dialogs of the window. Texts are UTF-8.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box; an empty title shows the application title.
    // Returns the answer code of the button pressed.
    virtual int messageBox(const std::string& text, int style, const std::string& title = {}) = 0;
    // Shows the modal folder chooser with the prompt text; returns the chosen
    // folder's path, or empty text when the user cancelled.
    virtual std::string chooseFolder(const std::string& prompt) = 0;
};

}  // namespace ruror
