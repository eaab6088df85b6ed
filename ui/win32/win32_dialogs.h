#pragma once

#include "core/dialogs.h"
#include "ui/win32/principal_window.h"

namespace ruror::win32 {

// The system's own message boxes and the shell's folder browser, modal and
// owned by the main window.
class Win32Dialogs final : public Dialogs {
public:
    explicit Win32Dialogs(const PrincipalWindow& owner) : owner_(owner) {}

    int messageBox(const std::string& text, int style, const std::string& title = {}) override;
    std::string chooseFolder(const std::string& prompt) override;

private:
    const PrincipalWindow& owner_;
};

}  // namespace ruror::win32
