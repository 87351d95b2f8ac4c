// The list editors of the channel grid drop open on a real click: the X server's own pointer
// moves and clicks (XTest, through xdotool) under a window manager, on a private Xvfb.

#include "support/UiTestSupport.h"

#include "codeplug/ChannelRules.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

using namespace tr640;
using namespace tr640::test;

namespace {

// Runs a program that ends with this test; its output goes to `out` when given.
pid_t Spawn(std::initializer_list<const char*> argv, int out = -1) {
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (out >= 0)
            dup2(out, STDOUT_FILENO);
        execvp(*argv.begin(), const_cast<char* const*>(std::vector(argv).data()));
        _exit(127);
    }
    return pid;
}

} // namespace

class TestToneDropX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCOMPARE(QGuiApplication::platformName(), "xcb");
        // The window manager names its check window on the root window once it runs.
        QTRY_VERIFY_WITH_TIMEOUT(
            [] {
                QProcess xprop;
                xprop.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
                return xprop.waitForFinished() &&
                       xprop.readAllStandardOutput().contains("window id");
            }(),
            10000);
    }

    void realClickDropsTheList() {
        Window w(QByteArray("\0\0\1", 3), true); // English
        EditorState channels = w->editor();
        for (const int r : {1, 2})
            FillNewChannel(channels, r, channels.cell(r, ColRxFrequency) = "446.00000");
        channels.setListCell(2, ColRxTone, 51);
        w->document().replace(channels);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        FlexGrid* grid = w.grid();
        const QPoint at = grid->viewport()->mapToGlobal(
            grid->visualRect(grid->model()->index(2, ColRxTone)).center());
        QProcess xdotool;
        xdotool.start("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()),
                                  "mousedown", "1", "sleep", "0.15", "mouseup", "1"});
        QVERIFY(QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 10000));
        QCOMPARE(xdotool.exitCode(), 0);
        auto* list = w.find<QComboBox>("Combo8");
        QVERIFY2(list->isVisible(), "no editor over the cell");
        QTRY_VERIFY(list->view()->isVisible());
        QTest::qWait(300); // and it stays open
        QVERIFY(list->view()->isVisible());
        QCOMPARE(list->view()->currentIndex().data().toString(), QString("D023N"));
        QCOMPARE(grid->text(2, ColRxTone), QString("D023N"));
        QTest::keyClick(list->view(), Qt::Key_Escape);
    }
};

// Xvfb on a display it picks and writes to a pipe, openbox on it, then the test on xcb.
int main(int argc, char** argv) {
    int pipe[2];
    if (::pipe(pipe) != 0)
        return 1;
    const pid_t x = Spawn({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten",
                           "tcp", "-ac", nullptr},
                          pipe[1]);
    QByteArray display(":");
    for (char c = 0; read(pipe[0], &c, 1) == 1 && c != '\n';)
        display += c;
    if (display.size() < 2) {
        fprintf(stderr, "no Xvfb could be started\n");
        return 1;
    }
    qputenv("DISPLAY", display);
    const pid_t wm = Spawn({"openbox", nullptr});
    qputenv("QT_QPA_PLATFORM", "xcb");
    int status = 1;
    {
        QApplication app(argc, argv);
        TestToneDropX11 test;
        status = QTest::qExec(&test, argc, argv);
    }
    for (const pid_t child : {wm, x})
        kill(child, SIGTERM);
    return status;
}

#include "tst_tone_drop_x11.moc"
