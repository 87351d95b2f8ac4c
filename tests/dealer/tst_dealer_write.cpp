// Writing to simulated radios from the main window: the write preview and batch programming.

#include "DealerSamples.h"
#include "support/UiTestSupport.h"

#include "PseudoTerminal.h"
#include "RadioModel.h"
#include "RadioServer.h"
#include "ui/main/BatchWindow.h"
#include "ui/main/TransferController.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

using namespace tr640;
using namespace tr640::test;
using link::JobResult;

namespace {

// A main window with a simulated radio on its port; the transfer's timers are the test's.
struct Bench : Window {
    sim::RadioModel radio{0x33};
    sim::PseudoTerminal pty;
    sim::RadioServer server{radio, [this](const QByteArray& b) { pty.write(b); }};

    Bench() : Window(QByteArray(), false, Form1::Options::withoutTimers()) {
        QString error;
        if (!pty.open(&error))
            qFatal("no pseudo-terminal: %s", qPrintable(error));
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         &sim::RadioServer::feed);
        form->portMenu().choosePortByName(pty.slavePath());
        form->transfer().setDataDirectory(dir.filePath("data"));
        form->editor().Language = English;
        form->ApplyLanguage();
    }
    link::TransferJob& job() const { return form->transfer().job(); }
    // Runs the job to its end: the pause between steps is two blink ticks.
    bool finish() {
        return QTest::qWaitFor(
            [this] {
                if (job().active() && !job().session().running())
                    form->transfer().tick(link::Timer::Blink);
                return !job().active();
            },
            20000);
    }
};

// Three channels and two settings differ from Customer().
EditorState Changed() {
    EditorState s = Customer();
    s.cell(1, ColRxFrequency) = "435.05000";
    s.setListCell(3, ColPower, 0);
    s.cell(5, ColRxFrequency) = "440.00000";
    s.TimeOutTimer = 3;
    s.Settings.EmbeddedMessage[0] = "XYZ";
    return s;
}

} // namespace

class TestDealerWrite : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void preview_data();
    void preview();
    void nextId_data();
    void nextId();
    void batch();
};

void TestDealerWrite::preview_data() {
    QTest::addColumn<bool>("identical");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("shown"); // the intro, the Write button, the changes
    const QStringList changes{"Writing will change these in the radio:",
                              "Write",
                              "Channel 01 RX frequency: 435.02500 → 435.05000",
                              "Channel 03 Power: High → Low",
                              "Channel 05: new",
                              "Time-out Timer: 90 S → 60 S",
                              R"(Embedded message line 1: "ABC" → "XYZ")"};
    QTest::newRow("differs, Cancel") << false << false << changes;
    QTest::newRow("differs, Write") << false << true << changes;
    QTest::newRow("identical") << true << false
                               << QStringList{"The radio already holds this codeplug.",
                                              "Write anyway"};
}

void TestDealerWrite::preview() {
    QFETCH(bool, identical);
    QFETCH(bool, write);
    Bench b;
    const QByteArray original = EncodeImage(Customer());
    b.radio.setMemory(original);
    b->document().replace(identical ? Customer() : Changed());
    QVERIFY(!b->transfer().writeChecks().Preview); // off by default
    b.trigger("mnupreview");
    QVERIFY(b->transfer().writeChecks().Preview);

    QStringList shown;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog->objectName() != QLatin1String("frmWritePreview"))
            return;
        auto* writeButton = dialog->findChild<QPushButton*>("cmdWrite");
        shown << dialog->findChild<QLabel*>("lblPreview")->text() << writeButton->text();
        auto* list = dialog->findChild<QListWidget*>("lstChanges");
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        (write ? writeButton : dialog->findChild<QPushButton*>("cmdCancelWrite"))->click();
    });
    answerer.start(5);
    b->transfer().mnuwriteFre();
    QVERIFY(b.finish());
    QTEST(shown, "shown");
    const link::JobReport& report = b.job().report();
    if (!write) {
        QCOMPARE(report.result, JobResult::Cancelled);
        QCOMPARE(report.framesWritten, 0);
        QCOMPARE(b.radio.image(), original);
        QVERIFY(!b->transfer().port().isOpen());
        QVERIFY(!b.radio.inProgramMode()); // the end request went out
    } else {
        QCOMPARE(report.result, JobResult::Done);
        QVERIFY(QTest::qWaitFor([&] { return b.radio.completedWrites() == 1; }, 5000));
        QCOMPARE(b.radio.image().first(0x170), EncodeImage(Changed()).first(0x170));
    }
}

void TestDealerWrite::nextId_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("next");
    QTest::newRow("width kept") << "0099" << QString("0100");
    QTest::newRow("grows") << "999" << QString("1000");
    QTest::newRow("no room") << "9999999999" << QString();
    QTest::newRow("not digits") << "12A" << QString();
    QTest::newRow("too long") << "12345678901" << QString();
}

void TestDealerWrite::nextId() {
    QFETCH(QString, id);
    QTEST(link::BatchLog::NextId(id), "next");
}

// Three radios in a row, the second of another band: refused.
void TestDealerWrite::batch() {
    Bench b;
    b->document().replace(Customer());
    b.find<QAction>("mnubatch")->trigger();
    auto* batch = b->findChild<BatchWindow*>("frmBatch");
    QVERIFY(batch && batch->isVisible());
    batch->findChild<QCheckBox*>("chkOwnId")->setChecked(true);
    QTest::keyClicks(batch->findChild<QLineEdit*>("txtStartId"), "0099");
    BoxAnswerer boxes;
    QStringList radioIds;
    for (quint8 band : {0x33, 0x01, 0x33}) {
        b.radio = sim::RadioModel(band); // the next radio on the cable
        batch->findChild<QPushButton*>("cmdWriteNext")->click();
        QVERIFY(b.finish()); // the next starts while this result is still shown
        EditorState written;
        DecodeImage(written, b.radio.image());
        radioIds << written.Settings.IdCode.remove(QChar(0xFF));
    }
    QCOMPARE(radioIds, QStringList({"0099", "", "0100"}));
    QCOMPARE(b->editor().Settings.IdCode, QString()); // the editor's own codeplug is unchanged

    auto* table = batch->findChild<QTableWidget*>("grdBatch");
    QCOMPARE(table->rowCount(), 3);
    QStringList rows; // without the time
    for (int r = 0; r < 3; ++r)
        rows << QStringList({table->item(r, 1)->text(), table->item(r, 2)->text(),
                             table->item(r, 3)->text(), table->item(r, 4)->text()})
                    .join(u',');
    QCOMPARE(rows,
             QStringList({"400-470MHz,Written,,0099", "400-470MHz,Failed: band mismatch,,0100",
                          "400-470MHz,Written,,0100"}));
    const QString path = b.dir.filePath("log.csv");
    batch->setLogChooser([&](QWidget*) { return path; });
    batch->findChild<QPushButton*>("cmdSaveLog")->click();
    QStringList log = QString::fromUtf8(ReadAll(path)).split("\r\n", Qt::SkipEmptyParts);
    for (QString& line : log)
        line = line.section(u',', 1);
    QCOMPARE(log, QStringList{"Band,Result,Verify,ID written"} + rows);
}

QTEST_MAIN(TestDealerWrite)
#include "tst_dealer_write.moc"
