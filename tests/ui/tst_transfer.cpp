// Reading and writing from the main window over a pseudo-terminal to the radio model: results,
// band checks, the copies kept, the backup before a write and the check after it, cancelling,
// the remembered write checks, and port advice.

#include "support/UiTestSupport.h"

#include "PseudoTerminal.h"
#include "RadioModel.h"
#include "RadioServer.h"
#include "app/WriteChecks.h"
#include "link/TransferJob.h"
#include "ui/main/TransferController.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>

using namespace tr640;
using namespace tr640::test;
using link::Timer;

namespace {

EditorState Sample(int band = 0) {
    EditorState s;
    s.Band = s.CurrentBandIndex = band;
    s.cell(3, ColRxFrequency) = s.cell(3, ColTxFrequency) = band ? "145.00625" : "435.01250";
    s.setListCell(3, ColRxTone, 12);
    s.setListCell(3, ColTxTone, 60);
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(3, col, 1);
    s.Settings.EmbeddedMessage[1] = "RADIO";
    s.Settings.TxHighPower = 50;
    return s;
}

// What the radio holds before a write: another codeplug than the editor's.
QByteArray RadioImage() {
    EditorState s = Sample();
    s.cell(3, ColRxFrequency) = "440.00000";
    return EncodeImage(s);
}

const QByteArray kErased(848, '\xFF');

// A main window without running timers on a pseudo-terminal with a radio behind it, its
// backups in a folder of its own. The transfer's ticks, folders and port are given here only.
struct Bench : Window {
    QTemporaryDir data;
    sim::RadioModel radio;
    sim::PseudoTerminal pty;
    sim::RadioServer server{radio, [this](const QByteArray& b) { pty.write(b); }};

    explicit Bench(sim::RadioFaults faults = {}, WriteChecks checks = {}, quint8 bandCode = 0x33)
        : Window(QByteArray(), false, Form1::Options::withoutTimers()), radio(bandCode, faults) {
        QString error;
        if (!pty.open(&error))
            qFatal("no pseudo-terminal: %s", qPrintable(error));
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         [this](const QByteArray& b) { server.feed(b); });
        radio.setMemory(RadioImage());
        transfer().setWriteChecks(checks);
        transfer().setDataDirectory(data.path());
        form->portMenu().choosePortByName(pty.slavePath());
        open(Sample());
    }
    TransferController& transfer() const { return form->transfer(); }
    bool active() const { return transfer().job().active(); }
    bool idle() const {
        return find<QToolBar>("Toolbar1")->isEnabled() && find<QMenu>("mnupro")->isEnabled();
    }
    // Lets the bytes travel, giving the pauses between dialogues their blink ticks, until the
    // transfer has ended (`frames` < 0) or the radio has taken `frames` frames and answered.
    bool run(int frames = -1) {
        const bool reached = QTest::qWaitFor(
            [&] {
                if (active() && transfer().job().session().showingResult())
                    transfer().tick(Timer::Blink);
                return frames < 0 ? !active() : radio.framesReceived() >= frames;
            },
            20000);
        return reached && QTest::qWaitFor([&] { return server.idle(); });
    }
    void tick(Timer timer, int times) {
        for (int i = 0; i < times; ++i)
            transfer().tick(timer);
    }
    QStringList backups(const QString& pattern) const {
        return QDir(data.path() + "/backups").entryList({pattern}, QDir::Files, QDir::Name);
    }
    QString status() const { return find<QLabel>("Label")->text(); }
};

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void readFillsTheEditor() {
        Bench b({}, {}, 0x01); // 136-174MHz
        b.radio.setMemory(EncodeImage(Sample(5)));
        BoxAnswerer boxes;
        b->runToolbarKey("read");
        QVERIFY(b.run());
        QCOMPARE(boxes.count(), 0); // no question about clearing the channels
        QCOMPARE(RowTexts(b.grid(), 3, 1, 5),
                 (QStringList{"145.00625", "97.4", "145.00625", "D053N", "高"}));
        QCOMPARE(Shown(b.form.get(), QStringList{"Combo1", "Label"}),
                 (QStringList{"136-174MHz", "读频成功！"}));
        QVERIFY(!b.idle()); // the result shows for 2.4 seconds first
        b.tick(Timer::Blink, 12);
        QVERIFY(b.idle());
        const QStringList kept = b.backups("*-read.DAT"); // a copy of what was read
        QCOMPARE(ReadAll(b.data.path() + "/backups/" + kept.value(0)), EncodeImage(Sample(5)));
    }

    // A 136-174MHz radio, the editor 400-470MHz: refused, or asked in service mode.
    void bandMismatch_data() { // service mode | answer | message or status | written
        AddRows({"refused: 0||频段不符，不可写入。|0", "service Yes: 1|是|频段不符，是否继续？|1"});
    }
    void bandMismatch() {
        QFETCH(QStringList, row);
        const bool service = row[0] == "1";
        Bench b({}, {}, 0x01);
        b.radio.setMemory(kErased);
        b->state().ServiceMode = service;
        b->editor().CalibrationWrite = service; // so that the power at 0x173 is written
        BoxAnswerer boxes({row[1]});
        b->runToolbarKey("write");
        QVERIFY(b.run());
        QCOMPARE(boxes.count(), service ? 1 : 0);
        QCOMPARE(service ? boxes.text() : b.status(), row[2]);
        QCOMPARE(quint8(b.radio.image().at(0x173)), quint8(row[3] == "1" ? 50 : 0xFF));
    }

    // Rows: write or read | frames the radio answers | Esc or the button | status | whether
    // warned | radio changed.
    void cancel_data() {
        AddRows({"read, handshake, Esc: read|0|Esc|读频已取消。|0|0",
                 "write, frames: write|8|button|写频已取消，对讲机数据可能不完整！|1|1"});
    }
    void cancel() {
        QFETCH(QStringList, row);
        const int stopAfter = row[1].toInt();
        Bench b({.stopAfter = stopAfter});
        b.activate();
        auto* button = b.find<QPushButton>("cmdCancel");
        QVERIFY(!button->isVisibleTo(b.form.get()));
        b->runToolbarKey(row[0]);
        QVERIFY(b.run(stopAfter + 1));
        QVERIFY(button->isVisibleTo(b.form.get()));
        BoxAnswerer boxes;
        if (row[2] == "Esc")
            QTest::keyClick(b.form.get(), Qt::Key_Escape);
        else
            button->click();
        QVERIFY(b.idle()); // at once, without the countdown
        QVERIFY(!button->isVisibleTo(b.form.get()));
        QCOMPARE(b.status(), row[3]);
        QCOMPARE(b.grid()->text(3, 1), QString("435.01250"));
        QTRY_COMPARE(boxes.count(), row[4].toInt());
        if (row[4] == "1")
            QCOMPARE(boxes.text(),
                     QString("写频已取消。对讲机中可能只写入了部分数据，使用前请重新写频。"));
        QCOMPARE(b.radio.image() != RadioImage(), row[5] == "1");
        b.tick(Timer::Blink, 12); // nothing starts afterwards
        QVERIFY(!b.active());
    }

    void writeChecksRemembered() {
        Window w(QByteArray("\0\0\0", 3), true, Form1::Options::withoutTimers());
        QVERIFY(!w.find<QAction>("mnubackupfirst")->isChecked()); // off by default
        w.trigger("mnuverify");
        const auto again = OpenMainWindow(w.dir.path(), Form1::Options::withoutTimers());
        QVERIFY(!again->findChild<QAction*>("mnubackupfirst")->isChecked());
        QVERIFY(again->findChild<QAction*>("mnuverify")->isChecked());
    }

    void writeChecksFile_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<WriteChecks>("checks");
        QTest::newRow("spaces, CRLF, other lines")
            << QByteArray("# x\r\n verify-after-write = 1\r\nzoom=1\n") << WriteChecks{false, true};
        QTest::newRow("damaged values")
            << QByteArray("backup-before-write=yes\nverify-after-write") << WriteChecks{};
        QTest::newRow("binary") << QByteArray("\xFF\x00=1\n", 5) << WriteChecks{};
    }
    void writeChecksFile() {
        QFETCH(QByteArray, text);
        QTEST(ParseWriteChecks(text), "checks");
    }

    // Ports that do not open: none, a path that is no device, a file the user may not use (an
    // ordinary user's case: the suite also runs as one when run as root).
    void portProblems_data() { // device | advice after the not-open text
        AddRows({"no port chosen: |", "missing device: /dev/tr640-no-such-port|找不到串口 %1",
                 "device without rights: ttyFAKE|没有使用 %1 的权限"});
    }
    void portProblems() {
        QFETCH(QStringList, row);
        QString device = row[0];
        Window w(QByteArray(), false, Form1::Options::withoutTimers());
        if (!device.isEmpty() && !device.startsWith('/')) {
            device = w.dir.filePath(device);
            QVERIFY(WriteAll(device, {}));
            QVERIFY(QFile::setPermissions(device, QFileDevice::Permissions()));
            if (QFileInfo(device).isReadable())
                QSKIP(
                    "file modes do not deny this user (root); the run as an ordinary user has it");
        }
        BoxAnswerer boxes;
        w->state().PortName = device;
        w->runToolbarKey("read");
        QCOMPARE(boxes.count(), 1);
        const QString advice = row[1].arg(device);
        QVERIFY2(
            boxes.text().startsWith(QString("通信端口未打开，请先选择菜单“通信端口”打开其串口！") +
                                    (advice.isEmpty() ? "" : "\n\n" + advice)),
            qPrintable(boxes.text()));
        QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled());
        QFile::setPermissions(device, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
