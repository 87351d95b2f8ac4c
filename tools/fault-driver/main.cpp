// tr640-fault-driver: runs one read or write from the main window, offscreen and with its real
// timers, over a given port, answers every message box, and reports what became of it. Used by
// scripts/fault-matrix against tr640-radio-sim.
//
// Output, one "key=value" a line: outcome (the dialogue's, NotStarted when the command did not
// start, Timeout when nothing ended in time), ended_ms (command to end), usable (the read and
// write commands enabled again, no box open), usable_ms, editor_changed, boxes, then box1..n
// as "icon|text" with the text on one line.

#include "app/MainWindow.h"
#include "codeplug/EditorState.h"
#include "link/TransferJob.h"
#include "link/TransferSession.h"
#include "ui/main/FileCommands.h"
#include "ui/main/Form1.h"
#include "ui/main/TransferController.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <csignal>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <sys/types.h>
#include <unistd.h>
#endif

using namespace tr640;
using link::Outcome;

namespace {

QString OutcomeName(Outcome o) {
    switch (o) {
    case Outcome::None:
        return QStringLiteral("None");
    case Outcome::ReadDone:
        return QStringLiteral("ReadDone");
    case Outcome::WriteDone:
        return QStringLiteral("WriteDone");
    case Outcome::BandRefused:
        return QStringLiteral("BandRefused");
    case Outcome::BandDeclined:
        return QStringLiteral("BandDeclined");
    case Outcome::CommunicationError:
        return QStringLiteral("CommunicationError");
    case Outcome::Cancelled:
        return QStringLiteral("Cancelled");
    }
    return QStringLiteral("Unknown");
}

QString IconName(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Critical:
        return QStringLiteral("stop");
    case QMessageBox::Warning:
        return QStringLiteral("exclamation");
    case QMessageBox::Information:
        return QStringLiteral("information");
    case QMessageBox::Question:
        return QStringLiteral("question");
    default:
        return QStringLiteral("none");
    }
}

void Kill(qint64 pid) {
#ifdef Q_OS_UNIX
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
#else
    Q_UNUSED(pid);
#endif
}

void Print(const QString& key, const QString& value) {
    std::printf("%s=%s\n", qPrintable(key), value.toUtf8().constData());
}

// Waits, with the event loop running, until `done` or `ms` have passed.
bool WaitFor(const std::function<bool()>& done, int ms) {
    if (done())
        return true;
    QElapsedTimer t;
    t.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || t.elapsed() > ms)
            loop.quit();
    });
    poll.start();
    loop.exec();
    return done();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tr640"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Runs one transfer from the main window."));
    p.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("The port."),
                                        QStringLiteral("DEV"));
    const QCommandLineOption readOption(QStringLiteral("read"),
                                        QStringLiteral("Read from the radio."));
    const QCommandLineOption writeOption(QStringLiteral("write"),
                                         QStringLiteral("Write to the radio."));
    const QCommandLineOption openOption(QStringLiteral("open"),
                                        QStringLiteral("Open this codeplug file first."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption dirOption(
        QStringLiteral("dir"), QStringLiteral("Folder for the preferences, backups and traces."),
        QStringLiteral("DIR"));
    const QCommandLineOption killOption(
        QStringLiteral("kill"), QStringLiteral("Kill this process (the radio) as told below."),
        QStringLiteral("PID"));
    const QCommandLineOption killAtProgress(
        QStringLiteral("kill-at-progress"),
        QStringLiteral("Kill it once the progress bar reaches N (of 460)."), QStringLiteral("N"));
    const QCommandLineOption killWhenOpen(
        QStringLiteral("kill-when-open"),
        QStringLiteral("Kill it once the port is open, before the command."));
    const QCommandLineOption answerOption(
        QStringLiteral("answer"), QStringLiteral("Button for questions: yes or no (default)."),
        QStringLiteral("yes|no"));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"),
                                           QStringLiteral("Give up after this many seconds (15)."),
                                           QStringLiteral("S"));
    p.addOptions({portOption, readOption, writeOption, openOption, dirOption, killOption,
                  killAtProgress, killWhenOpen, answerOption, timeoutOption});
    p.process(app);
    if (!p.isSet(portOption) || p.isSet(readOption) == p.isSet(writeOption) ||
        !p.isSet(dirOption)) {
        std::fputs("usage: tr640-fault-driver --port DEV (--read|--write) --dir DIR ...\n", stderr);
        return 2;
    }
    const QDir folder(p.value(dirOption));
    const qint64 victim = p.value(killOption).toLongLong();
    const int killProgress = p.isSet(killAtProgress) ? p.value(killAtProgress).toInt() : -1;
    const bool yes = p.value(answerOption) == QLatin1String("yes");
    const int timeoutMs = 1000 * (p.isSet(timeoutOption) ? p.value(timeoutOption).toInt() : 15);

    const std::unique_ptr<Form1> form = OpenMainWindow(folder.path());
    Form1& window = *form;
    TransferController& transfer = window.transfer();
    transfer.setDataDirectory(folder.filePath(QStringLiteral("data")));
    transfer.setUrlOpener([](const QUrl&) { return true; });
    window.show();

    // Every message box is answered at once and recorded.
    QStringList boxes;
    QTimer answerer;
    answerer.setInterval(20);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        boxes << IconName(box->icon()) + u'|' + box->text().simplified();
        QAbstractButton* choice = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            const QMessageBox::StandardButton sb = box->standardButton(b);
            if (!choice || (yes && sb == QMessageBox::Yes) || (!yes && sb == QMessageBox::No))
                choice = b;
        }
        if (choice)
            choice->click();
        else
            box->reject();
    });
    answerer.start();

    if (p.isSet(openOption) && !window.files().openFile(p.value(openOption))) {
        Print(QStringLiteral("outcome"), QStringLiteral("OpenFailed"));
        return 1;
    }
    const EditorState before = window.editor();

    window.portMenu().choosePortByName(p.value(portOption));
    if (p.isSet(killWhenOpen)) {
        Kill(victim);
        WaitFor([] { return false; }, 300); // the device goes away
    }

    bool ended = false;
    Outcome outcome = Outcome::None;
    QElapsedTimer clock;
    qint64 endedMs = -1;
    QObject::connect(&transfer, &TransferController::ended, [&](Outcome o) {
        if (ended)
            return;
        ended = true;
        outcome = o;
        endedMs = clock.elapsed();
    });
    QTimer killer;
    killer.setInterval(5);
    QObject::connect(&killer, &QTimer::timeout, [&] {
        if (transfer.session().progressValue() >= killProgress) {
            Kill(victim);
            killer.stop();
        }
    });
    if (killProgress >= 0)
        killer.start();

    auto* toolbar = window.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    auto* programming = window.findChild<QMenu*>(QStringLiteral("mnupro"));
    const QString commandName =
        p.isSet(readOption) ? QStringLiteral("mnureadFre") : QStringLiteral("mnuwriteFre");
    auto* command = window.findChild<QAction*>(commandName);
    const auto usable = [&] {
        return toolbar->isEnabled() && programming->isEnabled() && command->isEnabled() &&
               !QApplication::activeModalWidget();
    };
    if (!usable()) {
        Print(QStringLiteral("outcome"), QStringLiteral("NotUsableBefore"));
        return 1;
    }

    clock.start();
    command->trigger(); // a box of the start command is answered inside
    const bool started = transfer.job().active() || ended;
    QString outcomeText;
    bool usableAgain = false;
    qint64 usableMs = -1;
    if (!started) {
        outcomeText = QStringLiteral("NotStarted");
        endedMs = clock.elapsed();
    } else if (!WaitFor([&] { return ended; }, timeoutMs)) {
        outcomeText = QStringLiteral("Timeout");
    } else {
        outcomeText = OutcomeName(outcome);
    }
    // The result of a success shows for 2.4 seconds before the window is usable again.
    usableAgain = WaitFor(usable, started ? timeoutMs : 1000);
    if (usableAgain)
        usableMs = clock.elapsed();
    WaitFor([] { return false; }, 100); // boxes told after the end
    answerer.stop();

    Print(QStringLiteral("outcome"), outcomeText);
    Print(QStringLiteral("ended_ms"), QString::number(endedMs));
    Print(QStringLiteral("usable"), usableAgain ? QStringLiteral("1") : QStringLiteral("0"));
    Print(QStringLiteral("usable_ms"), QString::number(usableMs));
    Print(QStringLiteral("editor_changed"),
          window.editor() == before ? QStringLiteral("0") : QStringLiteral("1"));
    Print(QStringLiteral("boxes"), QString::number(boxes.size()));
    for (int i = 0; i < boxes.size(); ++i)
        Print(QStringLiteral("box%1").arg(i + 1), boxes[i]);
    std::fflush(stdout);
    return 0;
}
