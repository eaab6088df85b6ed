#include <QApplication>
#include <csignal>

#include "app/linux/session_end.h"
#include "main_window/principal.h"
#include "os/posix/posix_file_system.h"
#include "os/posix/system_clock.h"
#include "ui/qt/principal_view.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/spanish_translation.h"
#include "ui/qt/window_font.h"

int main(int /*argc*/, char* argv[]) {
    // A file-size limit or a full pipe must fail the copy with a message,
    // not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);

    // The program takes no command line: the toolkit gets the program's name
    // alone, so that none of its own options (-style, -reverse, ...) can
    // change the window.
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication application(toolkitArgc, toolkitArgv);
    QApplication::setApplicationName("RUROR");
    ruror::qt::installSpanishTranslation(application);
    ruror::qt::loadTahomaIfMissing();
    QApplication::setFont(ruror::qt::windowFont());

    ruror::qt::PrincipalView window;
    ruror::qt::QtDialogs dialogs(window);
    ruror::posix::PosixFileSystem files;
    ruror::posix::SystemClock clock;
    ruror::Principal principal(window, dialogs, files, clock);
    window.attach(principal);
    const SessionEnd sessionEnd(principal);

    principal.load();
    window.showCentred();
    return QApplication::exec();
}
