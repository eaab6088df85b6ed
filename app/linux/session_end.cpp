#include "app/linux/session_end.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace {

constexpr std::array<int, 3> kSessionSignals = {SIGTERM, SIGHUP, SIGINT};

// What the handler may touch: a lock-free flag and a pipe.
ruror::StopRequest* stopRequest = nullptr;
int wakeUp[2] = {-1, -1};

void onSessionSignal(int) {
    const int saved = errno;
    if (stopRequest != nullptr) stopRequest->ask(ruror::StopBy::Session);
    const char byte = 1;
    static_cast<void>(write(wakeUp[1], &byte, 1));
    errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(ruror::Principal& principal) : principal_(principal) {
    if (pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(wakeUp[0], bytes, sizeof bytes) > 0) {
        }
        principal_.sessionEnding();
    });
    stopRequest = &principal.stopRequest();
    struct sigaction action {};
    action.sa_handler = onSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSessionSignals) sigaction(signal, &action, nullptr);
}

SessionEnd::~SessionEnd() {
    for (const int signal : kSessionSignals) std::signal(signal, SIG_DFL);
    stopRequest = nullptr;
    close(wakeUp[0]);
    close(wakeUp[1]);
}
