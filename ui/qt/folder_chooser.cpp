#include "ui/qt/folder_chooser.h"

#include "ui/qt/folder_browser.h"

namespace ruror::qt {

QString chooseFolderIn(QWidget& owner, const QString& prompt) {
    FolderBrowser browser(owner, prompt);
    const bool chosen = browser.exec() == QDialog::Accepted;
    // The keyboard goes back to the window, also where no window manager does it.
    owner.activateWindow();
    return chosen ? browser.chosenFolder() : QString();
}

}  // namespace ruror::qt
