#pragma once

#include "core/dialogs.h"

class QWidget;

namespace ruror::qt {

// Message boxes and the folder chooser, modal and owned by the main window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget& owner) : owner_(owner) {}

    int messageBox(const std::string& text, int style, const std::string& title = {}) override;
    std::string chooseFolder(const std::string& prompt) override;

private:
    QWidget& owner_;
};

}  // namespace ruror::qt
