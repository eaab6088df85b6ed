// Presses a key in the real program's window, as the user does, and waits
// for the box that tells the result. Meanwhile it asks the window every 10 ms
// whether it is alive (the _NET_WM_PING of the X window protocols, which the
// toolkit answers from its event loop) and keeps the longest wait for an
// answer: what a user sees as a frozen window.
//
// Usage: ruror_window_probe WINDOW_ID KEY BOX_TITLE TIMEOUT_SECONDS
// Prints: seconds from the key to the box, and the longest wait in ms.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

double msBetween(Steady::time_point from, Steady::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string titleOf(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) return {};
    std::string title = name;
    XFree(name);
    return title;
}

class Probe {
public:
    Probe(Display* display, Window window) : display_(display), window_(window) {
        protocols_ = XInternAtom(display, "WM_PROTOCOLS", False);
        ping_ = XInternAtom(display, "_NET_WM_PING", False);
        // The toolkit answers on the root window, with one mask or the other.
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask | StructureNotifyMask);
    }

    void sendPing() {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window_;
        event.xclient.message_type = protocols_;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(ping_);
        event.xclient.data.l[1] = ++serial_;
        event.xclient.data.l[2] = static_cast<long>(window_);
        XSendEvent(display_, window_, False, NoEventMask, &event);
        XFlush(display_);
        pingSent_ = Steady::now();
        waiting_ = true;
    }

    // Handles one event; true when the box of that title has appeared.
    bool handle(const XEvent& event, const std::string& boxTitle) {
        if (event.type == ClientMessage && event.xclient.message_type == protocols_ &&
            static_cast<Atom>(event.xclient.data.l[0]) == ping_ && event.xclient.data.l[1] == serial_) {
            longest_ = std::max(longest_, msBetween(pingSent_, Steady::now()));
            waiting_ = false;
        }
        return event.type == MapNotify && titleOf(display_, event.xmap.window) == boxTitle;
    }

    void tick() {
        if (waiting_) {
            longest_ = std::max(longest_, msBetween(pingSent_, Steady::now()));
        } else if (msBetween(pingSent_, Steady::now()) >= 10) {
            sendPing();
        }
    }

    double longest() const { return longest_; }

private:
    Display* display_;
    Window window_;
    Atom protocols_;
    Atom ping_;
    long serial_ = 0;
    Steady::time_point pingSent_;
    bool waiting_ = false;
    double longest_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: ruror_window_probe WINDOW_ID KEY BOX_TITLE TIMEOUT_SECONDS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const auto window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    const std::string boxTitle = argv[3];
    const double timeout = std::atof(argv[4]);
    Probe probe(display, window);

    const KeyCode key = XKeysymToKeycode(display, XStringToKeysym(argv[2]));
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XFlush(display);
    const Steady::time_point pressed = Steady::now();
    probe.sendPing();

    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (probe.handle(event, boxTitle)) {
                std::printf("%.3f %.1f\n", msBetween(pressed, Steady::now()) / 1000, probe.longest());
                return 0;
            }
        }
        probe.tick();
        if (msBetween(pressed, Steady::now()) > timeout * 1000) {
            std::fprintf(stderr, "no box titled %s within %.0f s (longest wait %.1f ms)\n", boxTitle.c_str(), timeout,
                         probe.longest());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
