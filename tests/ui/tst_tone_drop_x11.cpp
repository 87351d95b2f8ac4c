// The list editors of the channel grid drop open on a real click: the X server's own pointer
// moves and clicks (XTest, through xdotool) under a window manager, on a private Xvfb.

#include "support/UiTestSupport.h"

#include "codeplug/ChannelRules.h"
#include "codeplug/ToneTable.h"

#include <QProcess>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tr640;
using namespace tr640::test;

namespace {

// Runs a program that ends with this test; -1 when it cannot.
pid_t Spawn(const char* program, std::initializer_list<const char*> args) {
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        std::vector<const char*> argv{program};
        argv.insert(argv.end(), args);
        argv.push_back(nullptr);
        execvp(program, const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    return pid;
}

// Xvfb on the first free display from :90, and openbox on it; DISPLAY names it.
struct XServer {
    std::vector<pid_t> children; // the server, then the window manager
    XServer() {
        for (int n = 90; n < 190 && children.empty(); ++n) {
            const QByteArray display = ":" + QByteArray::number(n);
            if (QFile::exists("/tmp/.X11-unix/X" + QString::number(n)))
                continue;
            const pid_t x = Spawn("Xvfb", {display.constData(), "-screen", "0", "1280x1024x24",
                                           "-nolisten", "tcp", "-ac"});
            int status = 0;
            for (int tries = 0; tries < 100; ++tries, usleep(100000)) {
                if (waitpid(x, &status, WNOHANG) != 0)
                    break; // taken meanwhile, or no Xvfb
                if (QFile::exists("/tmp/.X11-unix/X" + QString::number(n))) {
                    children.push_back(x);
                    qputenv("DISPLAY", display);
                    children.push_back(Spawn("openbox", {}));
                    break;
                }
            }
        }
    }
    ~XServer() {
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            kill(*it, SIGTERM);
            waitpid(*it, nullptr, 0);
        }
    }
};

pid_t windowManager = -1;

} // namespace

class TestToneDropX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void realClickDropsTheList_data();
    void realClickDropsTheList();
};

void TestToneDropX11::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QCOMPARE(QGuiApplication::platformName(), "xcb");
    QTest::qWait(500); // time for a missing window manager to have ended
    QVERIFY2(waitpid(windowManager, nullptr, WNOHANG) == 0, "openbox is not running");
}

void TestToneDropX11::realClickDropsTheList_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("position"); // of the cell's entry in its list
    QTest::addColumn<QString>("highlighted");
    QTest::newRow("listed tone") << int(ColRxTone) << kFirstDcsNormal << "D023N";
    QTest::newRow("power") << int(ColPower) << 0 << "Low";
}

void TestToneDropX11::realClickDropsTheList() {
    QFETCH(int, column);
    QFETCH(int, position);
    QFETCH(QString, highlighted);
    Window w(QByteArray("\0\0\1", 3), true); // English
    EditorState& e = w->editor();
    for (const int row : {1, 2}) {
        e.cell(row, ColRxFrequency) = QStringLiteral("446.00000");
        FillNewChannel(e, row, e.cell(row, ColRxFrequency));
    }
    e.setListCell(2, column, position);
    w->refreshGrid();
    const QString cell = w.grid()->text(2, column);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));

    FlexGrid* grid = w.grid();
    const QPoint at =
        grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(2, column)).center());
    QProcess xdotool;
    xdotool.start("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()),
                              "mousedown", "1", "sleep", "0.15", "mouseup", "1"});
    QVERIFY(QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 10000));
    QCOMPARE(xdotool.exitCode(), 0);

    auto* list = w.find<QComboBox>(column == ColPower ? "Combo5(5)" : "Combo8");
    QVERIFY2(list->isVisible(), "no editor over the cell");
    QTRY_VERIFY(list->view()->isVisible());
    QTest::qWait(300); // and it stays open
    QVERIFY(list->view()->isVisible());
    QCOMPARE(list->view()->currentIndex().data().toString(), highlighted);
    QCOMPARE(grid->text(2, column), cell);
    QTest::keyClick(list->view(), Qt::Key_Escape);
}

int main(int argc, char** argv) {
    XServer x;
    if (x.children.size() != 2) {
        fprintf(stderr, "no Xvfb could be started\n");
        return 1;
    }
    windowManager = x.children[1];
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestToneDropX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tone_drop_x11.moc"
