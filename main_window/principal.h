#pragma once

#include <string>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/file_system.h"
#include "core/location.h"
#include "core/stop_request.h"
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
    // only while a backup runs: then the user is asked whether to stop it,
    // and the window closes once it has stopped.
    void unload(bool& cancel);
    // The session ends (logout, shutdown, a signal): a running backup stops
    // without a question or a box, and the window closes once it has; with
    // none running, the window closes now.
    void sessionEnding();
    // What a signal handler may ask of a running backup.
    StopRequest& stopRequest() { return stop_; }
    // Whether the copy itself runs, as a close request or a session's end finds it.
    bool copying() const { return copying_; }

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
    // Whether the copy itself runs, which a close request may stop.
    bool copying_ = false;
    // Whether the stop question is showing, so that it is never asked twice.
    bool askingToStop_ = false;
    StopRequest stop_;
    // Whether the backup replaces an earlier one of its name.
    bool replacing_ = false;
    // What the backup will write, as the room check found.
    std::uint64_t bytesToWrite_ = 0;
};

}  // namespace ruror
