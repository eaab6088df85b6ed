#pragma once

#include <QObject>
#include <QSocketNotifier>

#include "main_window/principal.h"

// The signals that end a session (SIGTERM at logout or shutdown, SIGHUP when
// the terminal goes, SIGINT from Ctrl+C), taken as the window's session end:
// a running backup stops where it is, its temporary file removed, and the
// program ends. The handler only asks the backup to stop, which the copy
// sees on any of its threads, and wakes the window's thread, which does the
// rest.
class SessionEnd final : public QObject {
public:
    explicit SessionEnd(ruror::Principal& principal);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    ruror::Principal& principal_;
    QSocketNotifier* notifier_ = nullptr;
};
