#include "ui/qt/qt_dialogs.h"

#include <QMessageBox>
#include <QPushButton>

#include "core/box_text.h"
#include "main_window/messages.h"
#include "ui/qt/folder_chooser.h"

namespace ruror::qt {
namespace {

// The program's texts break lines with CR LF; Qt breaks them on LF alone.
QString displayed(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).replace("\r\n", "\n");
}

// A long path or name has no space to wrap at, and would run past the box's
// edge: an invisible break opportunity after each separator, and within a
// long run without one, lets it wrap there.
QString wrappable(const std::string& text) {
    constexpr QChar kZeroWidthSpace(0x200B);
    return displayed(withLongRunsBroken(text, kLongestBoxRun, "\u200B"))
        .replace('/', QString('/') + kZeroWidthSpace)
        .replace('\\', QString('\\') + kZeroWidthSpace);
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
        case box::kCritical: return QMessageBox::Critical;
        case box::kQuestion: return QMessageBox::Question;
        case box::kExclamation: return QMessageBox::Warning;
        case box::kInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

int QtDialogs::messageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox message(&owner_);
    message.setWindowTitle(displayed(title.empty() ? messages::kApplicationTitle : title));
    message.setTextFormat(Qt::PlainText);
    message.setText(wrappable(text));
    message.setIcon(iconOf(style));

    // The buttons are named here, not by Qt, so they read Spanish whatever
    // translation the system has; S and N answer, as on the Windows boxes.
    std::vector<std::pair<QPushButton*, int>> buttons;
    if ((style & 0x7) == box::kYesNo) {
        buttons.emplace_back(message.addButton("&Sí", QMessageBox::YesRole), box::kAnswerYes);
        buttons.emplace_back(message.addButton("&No", QMessageBox::NoRole), box::kAnswerNo);
        message.setEscapeButton(buttons.back().first);
    } else {
        buttons.emplace_back(message.addButton("Aceptar", QMessageBox::AcceptRole), box::kAnswerOk);
        message.setEscapeButton(buttons.back().first);
    }
    // As on the platform's own boxes, the first button is the default one.
    message.setDefaultButton(buttons[(style & box::kDefaultButton2) && buttons.size() > 1 ? 1 : 0].first);

    message.exec();
    for (const auto& [button, answer] : buttons)
        if (message.clickedButton() == button) return answer;
    return buttons.back().second;
}

std::string QtDialogs::chooseFolder(const std::string& prompt) {
    return chooseFolderIn(owner_, displayed(prompt)).toUtf8().toStdString();
}

}  // namespace ruror::qt
