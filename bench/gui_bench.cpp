// tr640-bench-gui: the main window in this process, as the program builds it.
//
//   tr640-bench-gui startup [--settle-ms N]
//       Builds and shows the window exactly as the program does, prints "shown" on stdout
//       once its first frame is painted, then, after N ms of running, the peak resident set
//       and quits. Timed from outside (tr640-bench-tool run --until shown).
//   tr640-bench-gui transfer --port PORT --direction read|write [--runs N] [--image FILE.DAT]
//       The window with its real timers on PORT; runs the menu command N times and prints,
//       for each, the time and the process CPU time from the command to the success text
//       (the result countdown that follows is waited out, not counted).
//
// Output lines are "key value..." for scripts/bench.

#include "app/MainWindow.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "link/TransferSession.h"
#include "ui/main/Form1.h"
#include "ui/main/TransferController.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {

using namespace tr640;

// User and system CPU time of the process so far, in ms.
struct Cpu {
    double user = 0;
    double system = 0;
};

double Ms(const timeval& t) {
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

Cpu ProcessCpu() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return {Ms(ru.ru_utime), Ms(ru.ru_stime)};
}

// A field of /proc/self/status in kB ("VmHWM", "VmRSS"); -1 where there is none.
long StatusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

void Print(const QString& line) {
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

int Fail(const QString& message) {
    std::fputs(("tr640-bench-gui: " + message + u'\n').toUtf8().constData(), stderr);
    return 1;
}

// Watches a widget for its first paint; calls `done` once that frame has been flushed, i.e.
// when the event loop comes round after the paint.
class FirstFrame : public QObject {
public:
    FirstFrame(QWidget* w, std::function<void()> done) : onDone_(std::move(done)) {
        w->installEventFilter(this);
    }
    bool done() const { return done_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                done_ = true;
                onDone_();
            });
        }
        return false;
    }

private:
    std::function<void()> onDone_;
    bool seen_ = false;
    bool done_ = false;
};

// Runs `loop` until `ready` holds or timeoutMs passes; false on the timeout. Whatever makes
// `ready` true quits the loop itself, or pollMs > 0 checks it that often.
bool RunUntil(QEventLoop& loop, const std::function<bool()>& ready, int timeoutMs, int pollMs = 0) {
    if (ready())
        return true;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(timeoutMs);
    QTimer poll;
    if (pollMs > 0) {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (ready())
                loop.quit();
        });
        poll.start(pollMs);
    }
    loop.exec();
    return ready();
}

QString OptionValue(const QStringList& args, const QString& name, const QString& fallback = {}) {
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
}

int Startup(const QStringList& args) {
    // The same steps as the program's main(): default preferences place, then show().
    QEventLoop loop;
    const std::unique_ptr<Form1> form = OpenMainWindow();
    Form1& window = *form;
    long hwmShown = -1;
    FirstFrame frame(&window, [&] {
        Print(QStringLiteral("shown"));
        hwmShown = StatusKb("VmHWM");
        loop.quit();
    });
    window.show();
    if (!RunUntil(
            loop, [&] { return frame.done(); }, 30000))
        return Fail(QStringLiteral("the window was never painted"));
    const int settle =
        OptionValue(args, QStringLiteral("--settle-ms"), QStringLiteral("0")).toInt();
    if (settle > 0) {
        QTimer::singleShot(settle, &loop, &QEventLoop::quit);
        loop.exec();
    }
    Print(QStringLiteral("hwm_shown_kb %1").arg(hwmShown));
    Print(QStringLiteral("hwm_settled_kb %1").arg(StatusKb("VmHWM")));
    return 0;
}

int Transfer(const QStringList& args) {
    const QString port = OptionValue(args, QStringLiteral("--port"));
    const QString direction = OptionValue(args, QStringLiteral("--direction"));
    const int runs = OptionValue(args, QStringLiteral("--runs"), QStringLiteral("5")).toInt();
    const QString imagePath = OptionValue(args, QStringLiteral("--image"));
    if (port.isEmpty() ||
        (direction != QLatin1String("read") && direction != QLatin1String("write")))
        return Fail(QStringLiteral("transfer needs --port PORT --direction read|write"));
    const bool read = direction == QLatin1String("read");

    QEventLoop loop;
    QTemporaryDir preferences;
    const std::unique_ptr<Form1> form = OpenMainWindow(preferences.path());
    Form1& window = *form;
    FirstFrame frame(&window, [&] { loop.quit(); });
    window.show();
    if (!RunUntil(
            loop, [&] { return frame.done(); }, 30000))
        return Fail(QStringLiteral("the window was never painted"));
    if (!imagePath.isEmpty()) {
        FileStatus st;
        const QByteArray bytes = ReadCodeplugFile(imagePath, &st);
        if (!st.ok())
            return Fail(imagePath + QStringLiteral(": cannot be read"));
        EditorState state = window.editor();
        DecodeImage(state, bytes);
        window.document().replace(state);
    }
    TransferController& transfer = window.transfer();
    window.portMenu().choosePortByName(port);
    const QString commandName = read ? QStringLiteral("mnureadFre") : QStringLiteral("mnuwriteFre");
    auto* command = window.findChild<QAction*>(commandName);
    auto* status = window.findChild<QLabel*>(QStringLiteral("Label"));
    if (!command || !status)
        return Fail(
            QStringLiteral("the window has no %1 command or no status line").arg(commandName));
    Print(QStringLiteral("hwm_start_kb %1").arg(StatusKb("VmHWM")));

    const link::Outcome wanted = read ? link::Outcome::ReadDone : link::Outcome::WriteDone;
    QElapsedTimer clock;
    for (int run = 1; run <= runs; ++run) {
        bool ended = false;
        double endMs = 0;
        Cpu endCpu;
        // The status line is set right after the session reports the end, in the same call;
        // the zero timer fires once that call has returned, with the success text in place.
        const QMetaObject::Connection c =
            QObject::connect(&transfer, &TransferController::ended, &window, [&] {
                QTimer::singleShot(0, &window, [&] {
                    endMs = double(clock.nsecsElapsed()) / 1e6;
                    endCpu = ProcessCpu();
                    ended = true;
                    loop.quit();
                });
            });
        const Cpu cpu0 = ProcessCpu();
        clock.start();
        command->trigger();
        const bool finished = RunUntil(
            loop, [&] { return ended; }, 20000);
        QObject::disconnect(c);
        const link::Outcome outcome = transfer.session().outcome();
        if (!finished || outcome != wanted)
            return Fail(QStringLiteral("run %1 did not succeed (outcome %2, status \"%3\")")
                            .arg(run)
                            .arg(int(outcome))
                            .arg(status->text()));
        const double user = endCpu.user - cpu0.user, system = endCpu.system - cpu0.system;
        Print(QStringLiteral("run %1 ms %2 cpu_ms %3 user_ms %4 sys_ms %5 status %6")
                  .arg(run)
                  .arg(endMs, 0, 'f', 2)
                  .arg(user + system, 0, 'f', 2)
                  .arg(user, 0, 'f', 2)
                  .arg(system, 0, 'f', 2)
                  .arg(status->text()));
        // The result countdown, then the window is idle again.
        if (!RunUntil(
                loop, [&] { return !transfer.session().busy(); }, 10000, 50))
            return Fail(QStringLiteral("the window stayed busy after run %1").arg(run));
    }
    Print(QStringLiteral("hwm_after_kb %1").arg(StatusKb("VmHWM")));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tr640"));
    QApplication::setApplicationDisplayName(QStringLiteral("TR-640 Software"));
    const QStringList args = QApplication::arguments().mid(1);
    if (args.value(0) == QLatin1String("startup"))
        return Startup(args);
    if (args.value(0) == QLatin1String("transfer"))
        return Transfer(args);
    return Fail(QStringLiteral("usage: tr640-bench-gui startup [--settle-ms N] | transfer --port "
                               "PORT --direction read|write [--runs N] [--image FILE.DAT]"));
}
