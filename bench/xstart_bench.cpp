// tr640-bench-xstart: how long a program takes to show its main window under an X server.
//
//   tr640-bench-xstart [--title TEXT] [--settle-ms N] [--timeout-ms N] -- COMMAND ARGS...
//
// Watches the display ($DISPLAY, best a server of its own such as Xvfb) for new top-level
// windows, starts COMMAND and waits for the first top-level window of at least 100x100 pixels
// whose title contains TEXT to be mapped, then for the first drawing into it (X DAMAGE). Then
// lets the program run for N ms more, reads its peak resident set, and ends it. Prints one line:
//   map_ms M shown_ms S hwm_kb H rss_kb R cpu_ms C
// with times from just before the start. Without a drawing within 3 s of the map, shown_ms is
// the map time and "undrawn 1" is added.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "tr640-bench-xstart: %s\n", message.c_str());
    return 1;
}

// A field of /proc/PID/status in kB; -1 where there is none.
long StatusKb(pid_t pid, const std::string& field) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::atol(line.c_str() + field.size() + 1);
    return -1;
}

std::string WindowTitle(Display* d, Window w) {
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(d, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0; // windows may vanish between an event and a question about them
}

// Waits for the next X event at most `ms`; false when none came.
bool NextEvent(Display* d, XEvent* e, double ms) {
    if (XPending(d) > 0) {
        XNextEvent(d, e);
        return true;
    }
    const int fd = ConnectionNumber(d);
    fd_set set;
    FD_ZERO(&set);
    FD_SET(fd, &set);
    timeval tv{long(ms / 1000), long(ms * 1000) % 1000000};
    if (select(fd + 1, &set, nullptr, nullptr, &tv) <= 0)
        return false;
    if (XPending(d) == 0)
        return false;
    XNextEvent(d, e);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::string title;
    int settleMs = 0, timeoutMs = 30000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--")
            break;
        if (i + 1 >= argc)
            return Fail(a + " needs a value");
        if (a == "--title")
            title = argv[++i];
        else if (a == "--settle-ms")
            settleMs = std::atoi(argv[++i]);
        else if (a == "--timeout-ms")
            timeoutMs = std::atoi(argv[++i]);
        else
            return Fail("unknown option " + a);
    }
    if (i + 1 >= argc)
        return Fail("usage: tr640-bench-xstart [--title TEXT] [--settle-ms N] [--timeout-ms N] "
                    "-- COMMAND ARGS...");
    char** command = argv + i + 1;

    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return Fail("cannot open the display (is DISPLAY set?)");
    XSetErrorHandler(IgnoreErrors);
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(d, &damageEvent, &damageError))
        return Fail("the X server has no DAMAGE extension");
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    const double t0 = NowMs();
    const pid_t pid = fork();
    if (pid < 0)
        return Fail("fork failed");
    if (pid == 0) {
        close(ConnectionNumber(d));
        execvp(command[0], command);
        std::fprintf(stderr, "tr640-bench-xstart: cannot start %s: %s\n", command[0],
                     std::strerror(errno));
        _exit(127);
    }

    std::map<Window, Damage> damages;
    Window target = None;
    double mapMs = -1, shownMs = -1;
    bool undrawn = false;
    while (shownMs < 0) {
        const double now = NowMs();
        if (now - t0 > timeoutMs) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return Fail(std::string(command[0]) + " showed no matching window in time");
        }
        if (mapMs >= 0 && now - t0 - mapMs > 3000) {
            shownMs = mapMs;
            undrawn = true;
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return Fail(std::string(command[0]) + " ended before showing a window");
        XEvent e;
        if (!NextEvent(d, &e, 20))
            continue;
        const double at = NowMs() - t0;
        if (e.type == CreateNotify && e.xcreatewindow.parent == root &&
            !e.xcreatewindow.override_redirect) {
            // Watched from its creation, so that no drawing after the map can be missed.
            damages[e.xcreatewindow.window] =
                XDamageCreate(d, e.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (e.type == MapNotify && e.xmap.event == root && !e.xmap.override_redirect &&
                   target == None) {
            XWindowAttributes wa{};
            const Window w = e.xmap.window;
            if (XGetWindowAttributes(d, w, &wa) && wa.width >= 100 && wa.height >= 100 &&
                WindowTitle(d, w).find(title) != std::string::npos && damages.count(w)) {
                target = w;
                mapMs = at;
            }
        } else if (e.type == damageEvent + XDamageNotify) {
            const auto& de = reinterpret_cast<const XDamageNotifyEvent&>(e);
            XDamageSubtract(d, de.damage, None, None);
            if (target != None && de.drawable == target)
                shownMs = at;
        }
    }

    // Let the program settle, then read its peak resident set while it still runs.
    const double settleEnd = NowMs() + settleMs;
    while (NowMs() < settleEnd) {
        XEvent e;
        if (NextEvent(d, &e, settleEnd - NowMs()) && e.type == damageEvent + XDamageNotify)
            XDamageSubtract(d, reinterpret_cast<const XDamageNotifyEvent&>(e).damage, None, None);
    }
    const long hwm = StatusKb(pid, "VmHWM");
    const long rss = StatusKb(pid, "VmRSS");
    kill(pid, SIGTERM);
    int status = 0;
    rusage ru{};
    const double killAt = NowMs();
    while (wait4(pid, &status, WNOHANG, &ru) == 0) {
        if (NowMs() - killAt > 3000)
            kill(pid, SIGKILL);
        timespec t{0, 10000000L};
        nanosleep(&t, nullptr);
    }
    const double cpuMs = double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 +
                         double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
    std::printf("map_ms %.1f shown_ms %.1f hwm_kb %ld rss_kb %ld cpu_ms %.1f%s\n", mapMs, shownMs,
                hwm, rss, cpuMs, undrawn ? " undrawn 1" : "");
    XCloseDisplay(d);
    return 0;
}
