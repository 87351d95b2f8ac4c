// Reading and writing from the main window over a pseudo-terminal to the radio model: the
// menus' wiring, what the window shows after a read, the band question, cancelling, busy
// states and a port that does not open.

#include "support/UiTestSupport.h"

#include "PseudoTerminal.h"
#include "RadioModel.h"
#include "RadioServer.h"
#include "link/TransferJob.h"
#include "ui/main/TransferController.h"

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
    s.Settings.TxHighPower = 50;
    return s;
}

// A main window without running timers on a pseudo-terminal with a radio behind it, holding
// Sample() opened from a file; the radio holds erased memory.
struct Bench : Window {
    sim::RadioModel radio;
    sim::PseudoTerminal pty;
    sim::RadioServer server{radio, [this](const QByteArray& b) { pty.write(b); }};

    explicit Bench(quint8 bandCode, sim::RadioFaults faults = {})
        : Window(QByteArray(), false, Form1::Options::withoutTimers()), radio(bandCode, faults) {
        QString error;
        if (!pty.open(&error))
            qFatal("no pseudo-terminal: %s", qPrintable(error));
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         [this](const QByteArray& b) { server.feed(b); });
        radio.setMemory(QByteArray(848, '\xFF'));
        transfer().setDataDirectory(dir.filePath("data"));
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
    void blink(int times) {
        for (int i = 0; i < times; ++i)
            transfer().tick(Timer::Blink);
    }
};

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void readFillsTheEditor() {
        Bench b(0x01); // 136-174MHz
        b.radio.setMemory(EncodeImage(Sample(5)));
        BoxAnswerer boxes;
        b.trigger("mnureadFre");
        QVERIFY(!b.idle());
        QVERIFY(b.run());
        QCOMPARE(boxes.count(), 0); // no question about clearing the channels
        QCOMPARE(RowTexts(b.grid(), 3, 1, 5),
                 (QStringList{"145.00625", "97.4", "145.00625", "D053N", "高"}));
        QCOMPARE(Shown(b.form.get(), QStringList{"Combo1", "Label", ""}),
                 (QStringList{"136-174MHz", "读频成功！", "KESTRA 对讲机编程软件 V1.20"}));
        QVERIFY(!b.idle()); // the result shows for 2.4 seconds first
        b.blink(12);
        QVERIFY(b.idle());
    }

    // Rows: command | the radio's band code | service mode | frames the radio answers before
    // Esc or the cancel button, none: to the end | status | message | whether the radio changed.
    // A 136-174MHz radio (01) and the editor 400-470MHz: refused, or asked in service mode.
    void transfer_data() {
        AddRows({"band refused: mnuwriteFre|01|0||频段不符，不可写入。||0",
                 "band, service Yes: mnuwriteFre|01|1||写频成功！|频段不符，是否继续？|1",
                 "read, handshake, Esc: mnureadFre|33|0|0 Esc|读频已取消。||0",
                 "write, frames: mnuwriteFre|33|0|8 button|写频已取消，对讲机数据可能不完整！|"
                 "写频已取消。对讲机中可能只写入了部分数据，使用前请重新写频。|1"});
    }
    void transfer() {
        QFETCH(QStringList, row);
        const QString cancel = row[3];
        const int stopAfter = cancel.isEmpty() ? -1 : cancel.section(' ', 0, 0).toInt();
        Bench b(row[1].toUInt(nullptr, 16), {.stopAfter = stopAfter});
        b.activate();
        b->state().ServiceMode = row[2] == "1";
        b->editor().CalibrationWrite = row[2] == "1"; // so that the power at 0x173 is written
        auto* button = b.find<QPushButton>("cmdCancel");
        QVERIFY(!button->isVisibleTo(b.form.get()));
        BoxAnswerer boxes({"是"});
        b.trigger(qPrintable(row[0]));
        QVERIFY(b.run(stopAfter < 0 ? -1 : stopAfter + 1));
        if (!cancel.isEmpty()) {
            QVERIFY(button->isVisibleTo(b.form.get()));
            if (cancel.endsWith("Esc"))
                QTest::keyClick(b.form.get(), Qt::Key_Escape);
            else
                button->click();
            QVERIFY(b.idle()); // at once, without the countdown
        }
        QVERIFY(!button->isVisibleTo(b.form.get()));
        QCOMPARE(b.find<QLabel>("Label")->text(), row[4]);
        QCOMPARE(b.grid()->text(3, 1), QString("435.01250"));
        QTRY_COMPARE(boxes.count(), row[5].isEmpty() ? 0 : 1);
        QCOMPARE(boxes.text(), row[5]);
        QCOMPARE(b.radio.image() != QByteArray(848, '\xFF'), row[6] == "1");
        if (row[0] == "mnuwriteFre" && row[1] == "01")
            QCOMPARE(quint8(b.radio.image().at(0x173)), quint8(row[6] == "1" ? 50 : 0xFF));
        b.blink(12); // nothing starts afterwards
        QVERIFY(!b.active());
    }

    void portProblems_data() { // device | advice after the not-open text
        AddRows({"no port chosen: |", "missing device: /dev/tr640-no-such-port|找不到串口 %1"});
    }
    void portProblems() {
        QFETCH(QStringList, row);
        Window w(QByteArray(), false, Form1::Options::withoutTimers());
        BoxAnswerer boxes;
        w->state().PortName = row[0];
        w.trigger("mnureadFre");
        QCOMPARE(boxes.count(), 1);
        const QString advice = row[1].arg(row[0]);
        QVERIFY2(
            boxes.text().startsWith(QString("通信端口未打开，请先选择菜单“通信端口”打开其串口！") +
                                    (advice.isEmpty() ? "" : "\n\n" + advice)),
            qPrintable(boxes.text()));
        QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled());
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
