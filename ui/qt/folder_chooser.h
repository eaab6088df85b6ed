#pragma once

#include <QString>

class QWidget;

namespace ruror::qt {

// Shows a modal folder chooser owned by the window, with the prompt above
// the folders. Only folders can be chosen. Returns the chosen folder's path,
// or empty text when the user cancelled.
QString chooseFolderIn(QWidget& owner, const QString& prompt);

}  // namespace ruror::qt
