// Reading and writing from the main window, over a pseudo-terminal to the radio model.

#include "support/UiTestSupport.h"

#include "PseudoTerminal.h"
#include "RadioModel.h"
#include "RadioServer.h"
#include "codeplug/Codec.h"
#include "link/TransferSession.h"
#include "ui/main/TransferController.h"
#include "ui/widgets/ClickLabel.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QToolBar>

using namespace tr640;
using namespace tr640::test;
using link::Outcome;
using link::Timer;

namespace {

EditorState Sample(int band) {
    EditorState s;
    s.Band = s.CurrentBandIndex = band;
    s.cell(3, ColRxFrequency) = band == 5 ? "145.00625" : "435.01250";
    s.cell(3, ColTxFrequency) = s.cell(3, ColRxFrequency);
    s.setListCell(3, ColRxTone, 12);
    s.setListCell(3, ColTxTone, 60);
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(3, col, 1);
    s.Settings.EmbeddedMessage[1] = "RADIO";
    s.Settings.TxHighPower = 50;
    return s;
}

// A main window whose chosen port is a pseudo-terminal with a radio behind it.
struct Bench : Window {
    sim::RadioModel radio;
    sim::PseudoTerminal pty;
    sim::RadioServer server{radio, [this](const QByteArray& b) { pty.write(b); }};

    explicit Bench(quint8 bandCode = 0x33, sim::RadioFaults faults = {})
        : Window(QByteArray(), false, Form1::Options{QString(), false}), radio(bandCode, faults) {
        QString error;
        if (!pty.open(&error))
            qFatal("no pseudo-terminal: %s", qPrintable(error));
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         &sim::RadioServer::feed);
        form->transfer().choosePortByName(pty.slavePath());
    }
    link::TransferSession& session() const { return form->transfer().session(); }
    bool idle() const {
        return find<QToolBar>("Toolbar1")->isEnabled() && find<QMenu>("mnupro")->isEnabled();
    }
    // Waits for the dialogue to end, as the bytes travel.
    bool finished() {
        return QTest::qWaitFor([this] { return session().outcome() != Outcome::None; }, 10000);
    }
    void countDown() {
        for (int i = 0; i < 12; ++i)
            form->transfer().tick(Timer::Blink);
    }
};

} // namespace

class TestTransferWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void readFillsTheEditor();
    void writeSendsTheImage_data();
    void writeSendsTheImage();
    void silentRadio();
    void radioStopsDuringRead();
    void bandMismatch_data();
    void bandMismatch();
    void gesturesReachTheRadio();
    void noPortChosen();
    void menuPortThatDoesNotOpen();
};

void TestTransferWindow::readFillsTheEditor() {
    Bench b(0x01); // 136-174MHz
    b.radio.setMemory(EncodeImage(Sample(5)));
    BoxAnswerer boxes;
    b->runToolbarKey("read");
    QVERIFY(!b.idle());
    QVERIFY(b.finished());
    QCOMPARE(b.session().outcome(), Outcome::ReadDone);
    QCOMPARE(boxes.count(), 0); // no question about clearing the channels
    auto* grid = b.find<FlexGrid>("Grid1");
    QCOMPARE(grid->text(3, 1), QString("145.00625"));
    QCOMPARE(grid->text(3, 5), QString("高"));
    QCOMPARE(b.find<QComboBox>("Combo1")->currentText(), QString("136-174MHz"));
    QCOMPARE(b->editor().Settings.EmbeddedMessage[1], QString("RADIO"));
    QCOMPARE(b.find<QLabel>("Label")->text(), QString("读频成功！"));
    QVERIFY(!b.find<QProgressBar>("ProgressBar1")->isVisible());
    QVERIFY(!b.idle()); // the result shows for 2.4 seconds first
    b.countDown();
    QVERIFY(b.idle());
    QVERIFY(b.find<QAction>("mnureadFre")->isEnabled());
}

void TestTransferWindow::writeSendsTheImage_data() {
    QTest::addColumn<int>("calibration");
    QTest::newRow("without calibration") << 0;
    QTest::newRow("with calibration") << 1;
}

void TestTransferWindow::writeSendsTheImage() {
    QFETCH(int, calibration);
    Bench b;
    b->replaceEditor(Sample(0));
    b->editor().CalibrationWrite = calibration;
    b->runToolbarKey("write");
    QVERIFY(b.finished());
    QCOMPARE(b.session().outcome(), Outcome::WriteDone);
    QCOMPARE(b.find<QLabel>("Label")->text(), QString("写频成功！"));
    const QByteArray sent = EncodeImage(b->editor());
    const QByteArray stored = b.radio.image();
    const auto written = [&](int address) {
        return (address < 0x180) || (address >= 0x1B8 && address < 0x1C8) || address >= 0x200 ||
               (calibration && address >= 0x180 && address < 0x190);
    };
    for (int a = 0x10; a < 0x360; ++a) {
        const int o = a - 0x10;
        if (written(a))
            QVERIFY2(stored[o] == sent[o], qPrintable(QString("address %1").arg(a, 0, 16)));
        else
            QVERIFY2(stored[o] == '\xFF', qPrintable(QString("address %1").arg(a, 0, 16)));
    }
}

void TestTransferWindow::silentRadio() {
    sim::RadioFaults silent;
    silent.silent = true;
    Bench b(0x33, silent);
    b->replaceEditor(Sample(0));
    const EditorState before = b->editor();
    b->runToolbarKey("read");
    for (int i = 0; i < 3; ++i)
        b->transfer().tick(Timer::Retry);
    QTRY_COMPARE(b.radio.framesReceived(), 2); // PROGRAM, and once more
    BoxAnswerer boxes;
    for (int i = 0; i < 4; ++i)
        b->transfer().tick(Timer::Watchdog);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen()[0].text,
             QString("通信出错，请检查对讲机型号、故障、连线及计算机串口的选择！"));
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
    QVERIFY(b.idle()); // at once, without the countdown
    QVERIFY(!b.find<QLabel>("Label")->isVisible());
    QVERIFY(b->editor() == before);
}

void TestTransferWindow::radioStopsDuringRead() {
    sim::RadioFaults faults;
    faults.stopAfter = 7;
    Bench b(0x33, faults);
    b->replaceEditor(Sample(0));
    const EditorState before = b->editor();
    b->runToolbarKey("read");
    QTRY_COMPARE(b.radio.framesReceived(), 8);
    QTest::qWait(20);
    BoxAnswerer boxes;
    for (int i = 0; i < 4; ++i)
        b->transfer().tick(Timer::Watchdog);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(b.session().outcome(), Outcome::CommunicationError);
    QVERIFY(b->editor() == before);
    QCOMPARE(b.find<FlexGrid>("Grid1")->text(3, 1), QString("435.01250"));
}

void TestTransferWindow::bandMismatch_data() {
    QTest::addColumn<bool>("service");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("outcome");
    QTest::newRow("refused") << false << "" << int(Outcome::BandRefused);
    QTest::newRow("service Yes") << true << "是" << int(Outcome::WriteDone);
    QTest::newRow("service No") << true << "否" << int(Outcome::BandDeclined);
}

void TestTransferWindow::bandMismatch() {
    QFETCH(bool, service);
    QFETCH(QString, answer);
    QFETCH(int, outcome);
    Bench b(0x01); // the radio is a 136-174MHz one, the editor 400-470MHz
    b->replaceEditor(Sample(0));
    b->state().ServiceMode = service;
    BoxAnswerer boxes({answer});
    b->runToolbarKey("write");
    QVERIFY(b.finished());
    QCOMPARE(int(b.session().outcome()), outcome);
    const QString status = b.find<QLabel>("Label")->text();
    if (!service) {
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(status, QString("频段不符，不可写入。"));
    } else {
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.seen()[0].text, QString("频段不符，是否继续？"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Information);
    }
    const bool written = outcome == int(Outcome::WriteDone);
    QCOMPARE(b.radio.image() == QByteArray(848, '\xFF'), !written);
}

void TestTransferWindow::gesturesReachTheRadio() {
    // The service gesture turns a band refusal into a question; the debug dialog's gesture
    // adds the calibration block to the write.
    Bench b(0x01);
    b->replaceEditor(Sample(0));
    double now = 40000.0;
    b->state().Clock = [&now] { return now; };
    for (const char* label : {"Label5", "Label7", "Label1"})
        QTest::mouseClick(b.find<ClickLabel>(label), Qt::LeftButton);
    QWidget* debug = b->windowNamed("Form2");
    for (const char* label : {"Label3", "Label6"})
        QTest::mouseClick(debug->findChild<ClickLabel*>(label), Qt::LeftButton);
    QVERIFY(b->state().ServiceMode);
    QCOMPARE(b->editor().CalibrationWrite, 1);
    BoxAnswerer boxes({"是"});
    b->runToolbarKey("write");
    QVERIFY(b.finished());
    QCOMPARE(b.session().outcome(), Outcome::WriteDone);
    QCOMPARE(boxes.count(), 1);
    const QByteArray sent = EncodeImage(b->editor());
    QCOMPARE(b.radio.image().mid(0x170, 16), sent.mid(0x170, 16));
    QCOMPARE(quint8(b.radio.image().at(0x173)), quint8(50)); // TxHighPower
}

void TestTransferWindow::noPortChosen() {
    Window w(QByteArray(), false, Form1::Options{QString(), false});
    BoxAnswerer boxes;
    w->runToolbarKey("read");
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen()[0].text, QString("通信端口未打开，请先选择菜单“通信端口”打开其串口！"));
    QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled());
    QVERIFY(w.find<QAction>("mnureadFre")->isEnabled());
}

void TestTransferWindow::menuPortThatDoesNotOpen() {
    Window w(QByteArray("\0\x05\x01", 3), true, Form1::Options{QString(), false});
    if (QFile::exists("/dev/ttyS2"))
        QSKIP("this machine has a third serial port");
    BoxAnswerer boxes;
    w.find<QAction>("mnucom3")->trigger();
    QCOMPARE(boxes.count(), 1);
    QVERIFY(boxes.seen()[0].text.startsWith(
        "Serial port 3 has been other programs use, please choose other serial or turn off its "
        "program."));
    QVERIFY(!w.find<QAction>("mnucom3")->isChecked());
    QCOMPARE(w->state().ComPortNumber, 5);
}

QTEST_MAIN(TestTransferWindow)
#include "tst_transfer_window.moc"
