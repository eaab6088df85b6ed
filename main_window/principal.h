#pragma once

#include <string>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/file_system.h"
#include "core/location.h"
#include "core/window_ops.h"

namespace ruror {

// The handlers of the main window. The view calls one for each event and
// the handler acts on the window only through WindowOps.
class Principal {
public:
    Principal(WindowOps& window, Dialogs& dialogs, FileSystem& files, const Clock& clock);

    // Before the window is first shown: presets the name and offers the
    // data-centre option only where the data centre exists.
    void load();
    // Any close request. Sets cancel to keep the window open, which it does
    // only while a backup runs.
    void unload(bool& cancel);

    // Every key typed in the window, before the focused control sees it.
    // Returns true where the key stops here and the control never sees it.
    bool keyPress(int keyAscii);
    void text1GotFocus(FocusArrival arrival);
    void text2GotFocus(FocusArrival arrival);
    // A key typed in the name field; set to 0 to refuse it.
    void text2KeyPress(int& keyAscii);
    // A click on "Aceptar" or "Cancelar", given the button's caption.
    void toolbar1ButtonClick(const std::string& caption);
    // A click on the browse button.
    void toolbar2ButtonClick();

private:
    void acceptBackup();
    // The checks of "Aceptar", in their order; each tells the user why it refuses.
    bool fieldsFilled(const Location& location, const std::string& name);
    bool databaseFound();
    bool pathAccepted(const Location& location, const std::string& name);
    bool roomEnough(const Location& location, const std::string& name);
    bool confirmDatabaseNotInUse();
    bool confirmOverwrite(const Location& location, const std::string& name);
    void lockWindow();
    bool dataCentreOption() const;
    // Only "Sí" is yes: No, Escape, the close box and a box that could not
    // be shown are all no.
    bool askedYes(const std::string& question, int style);
    // Moves the focus as a user would, its text selected whole.
    void moveFocusTo(Control control);
    void press(const ToolbarButton& button);

    WindowOps& window_;
    Dialogs& dialogs_;
    FileSystem& files_;
    const Clock& clock_;
    bool backupRunning_ = false;
    // Whether the backup replaces an earlier one of its name.
    bool replacing_ = false;
};

}  // namespace ruror
