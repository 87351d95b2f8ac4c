// Reading and writing from the main window over a pseudo-terminal to the radio model: results,
// band checks and gestures, the copies kept of every codeplug, the backup before a write and the
// check after it, cancelling, the serial trace, the remembered write checks, and port advice.

#include "support/UiTestSupport.h"

#include "PseudoTerminal.h"
#include "RadioModel.h"
#include "RadioServer.h"
#include "app/WriteChecks.h"
#include "link/SerialLink.h"
#include "link/TransferJob.h"
#include "ui/main/TransferController.h"

#include <QDir>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>
#include <QUrl>

using namespace tr640;
using namespace tr640::test;
using link::Outcome;
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
    s.Settings.EmbeddedMessage[1] = "OLD";
    return EncodeImage(s);
}

const QByteArray kErased(848, '\xFF');

// A main window on a pseudo-terminal with a radio behind it, its backups and traces in a
// folder of its own, and an opener that records what it was asked to open.
struct Bench : Window {
    QTemporaryDir data;
    sim::RadioModel radio;
    sim::PseudoTerminal pty;
    QByteArray toRadio, fromRadio; // every byte on the line
    sim::RadioServer server{radio, [this](const QByteArray& b) {
                                fromRadio += b;
                                pty.write(b);
                            }};
    QList<QUrl> opened;

    explicit Bench(sim::RadioFaults faults = {}, WriteChecks checks = {}, quint8 bandCode = 0x33)
        : Window(QByteArray(), false, Form1::Options::withoutTimers()), radio(bandCode, faults) {
        QString error;
        if (!pty.open(&error))
            qFatal("no pseudo-terminal: %s", qPrintable(error));
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         [this](const QByteArray& b) {
                             toRadio += b;
                             server.feed(b);
                         });
        radio.setMemory(RadioImage());
        transfer().setWriteChecks(checks);
        transfer().setDataDirectory(data.path());
        transfer().setUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        form->portMenu().choosePortByName(pty.slavePath());
        form->document().replace(Sample());
    }
    TransferController& transfer() const { return form->transfer(); }
    link::TransferJob& job() const { return transfer().job(); }
    Outcome outcome() const { return transfer().session().outcome(); }
    bool idle() const {
        return find<QToolBar>("Toolbar1")->isEnabled() && find<QMenu>("mnupro")->isEnabled();
    }
    // Lets the bytes travel, giving the pauses between dialogues their blink ticks, until the
    // transfer has ended (`frames` < 0) or the radio has taken `frames` frames and answered.
    bool run(int frames = -1) {
        const bool reached = QTest::qWaitFor(
            [&] {
                if (job().active() && job().session().showingResult())
                    transfer().tick(Timer::Blink);
                return frames < 0 ? !job().active() : radio.framesReceived() >= frames;
            },
            20000);
        return reached && QTest::qWaitFor([&] { return server.idle(); });
    }
    void tick(Timer timer, int times) {
        for (int i = 0; i < times; ++i)
            transfer().tick(timer);
    }
    QStringList backups(const QString& pattern = QStringLiteral("*")) const {
        return QDir(transfer().backupDirectory()).entryList({pattern}, QDir::Files, QDir::Name);
    }
    QByteArray backup(const QString& name) const {
        return ReadAll(QDir(transfer().backupDirectory()).filePath(name));
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
        QVERIFY(!b.idle());
        QVERIFY(b.run());
        QCOMPARE(b.outcome(), Outcome::ReadDone);
        QCOMPARE(boxes.count(), 0); // no question about clearing the channels
        auto* grid = b.find<FlexGrid>("Grid1");
        QCOMPARE(RowTexts(grid, 3, 1, 5),
                 (QStringList{"145.00625", "97.4", "145.00625", "D053N", "高"}));
        QCOMPARE(b.find<QComboBox>("Combo1")->currentText(), QString("136-174MHz"));
        QCOMPARE(b->editor().Settings.EmbeddedMessage[1], QString("RADIO"));
        QCOMPARE(b.status(), QString("读频成功！"));
        QVERIFY(!b.find<QProgressBar>("ProgressBar1")->isVisible());
        QVERIFY(!b.idle()); // the result shows for 2.4 seconds first
        b.tick(Timer::Blink, 12);
        QVERIFY(b.idle());
        QVERIFY(b.find<QAction>("mnureadFre")->isEnabled());
        // A copy of what was read is kept, named by time, band and command.
        const QStringList kept = b.backups();
        QCOMPARE(kept.size(), 1);
        QVERIFY2(
            QRegularExpression("^\\d{8}-\\d{6}-136-174MHz-read\\.DAT$").match(kept[0]).hasMatch(),
            qPrintable(kept[0]));
        QCOMPARE(b.backup(kept[0]), EncodeImage(Sample(5)));
        b.trigger("mnuopenbackups");
        QCOMPARE(b.opened, QList<QUrl>{QUrl::fromLocalFile(b.transfer().backupDirectory())});
    }

    void writeSendsTheImage_data() {
        QTest::addColumn<int>("calibration");
        QTest::newRow("without calibration") << 0;
        QTest::newRow("with calibration") << 1;
    }
    void writeSendsTheImage() {
        QFETCH(int, calibration);
        Bench b;
        b.radio.setMemory(kErased);
        b->editor().CalibrationWrite = calibration;
        b->runToolbarKey("write");
        QVERIFY(b.run());
        QCOMPARE(b.outcome(), Outcome::WriteDone);
        QCOMPARE(b.status(), QString("写频成功！"));
        const QByteArray sent = EncodeImage(b->editor()), stored = b.radio.image();
        for (int a = 0x10; a < 0x360; ++a) {
            const bool written =
                a < 0x180 || (a >= 0x1B8 && a < 0x1C8) || a >= 0x200 || (calibration && a < 0x190);
            QVERIFY2(stored[a - 0x10] == (written ? sent[a - 0x10] : '\xFF'),
                     qPrintable(QString("address %1").arg(a, 0, 16)));
        }
        const QStringList kept = b.backups("*MHz-write.DAT"); // a copy of what was written
        QCOMPARE(kept.size(), 1);
        QCOMPARE(b.backup(kept[0]), sent);
        QCOMPARE(b.backups().size(), 1);
    }

    void radioFails_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("frames");            // the radio takes before it fails
        QTest::newRow("silent radio") << true << 2; // PROGRAM, and once more
        QTest::newRow("stops during read") << false << 8;
    }
    void radioFails() {
        QFETCH(bool, silent);
        QFETCH(int, frames);
        Bench b({.silent = silent, .stopAfter = silent ? -1 : 7});
        const EditorState before = b->editor();
        b->runToolbarKey("read");
        if (silent)
            b.tick(Timer::Retry, 3);
        QTRY_COMPARE(b.radio.framesReceived(), frames);
        QTest::qWait(20);
        BoxAnswerer boxes;
        b.tick(Timer::Watchdog, 4);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(),
                 QString("通信出错，请检查对讲机型号、故障、连线及计算机串口的选择！"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(b.outcome(), Outcome::CommunicationError);
        QVERIFY(b.idle()); // at once, without the countdown
        QVERIFY(!b.find<QLabel>("Label")->isVisible());
        QVERIFY(b->editor() == before);
        QCOMPARE(b.find<FlexGrid>("Grid1")->text(3, 1), QString("435.01250"));
    }

    // A 136-174MHz radio, the editor 400-470MHz: refused, or asked in service mode (where the
    // debug dialog's unlock also writes the calibration block).
    void bandMismatch_data() {
        QTest::addColumn<bool>("service");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("outcome");
        QTest::newRow("refused") << false << "" << int(Outcome::BandRefused);
        QTest::newRow("service Yes") << true << "是" << int(Outcome::WriteDone);
        QTest::newRow("service No") << true << "否" << int(Outcome::BandDeclined);
    }
    void bandMismatch() {
        QFETCH(bool, service);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        Bench b({}, {}, 0x01);
        b.radio.setMemory(kErased);
        b->state().ServiceMode = service;
        b->editor().CalibrationWrite = service;
        BoxAnswerer boxes({answer});
        b->runToolbarKey("write");
        QVERIFY(b.run());
        QCOMPARE(int(b.outcome()), outcome);
        QCOMPARE(boxes.count(), service ? 1 : 0);
        if (service) {
            QCOMPARE(boxes.text(), QString("频段不符，是否继续？"));
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Information);
        } else {
            QCOMPARE(b.status(), QString("频段不符，不可写入。"));
        }
        const bool written = outcome == int(Outcome::WriteDone);
        QCOMPARE(b.radio.image() == kErased, !written);
        QCOMPARE(quint8(b.radio.image().at(0x173)), quint8(written ? 50 : 0xFF)); // TxHighPower
    }

    // Writes with the checks: status, the one message (text, "" for none), the radio changed.
    void checkedWrites_data() {
        QTest::addColumn<sim::RadioFaults>("faults");
        QTest::addColumn<WriteChecks>("checks");
        QTest::addColumn<QStringList>("row"); // status, message, whether written
        const WriteChecks backup{.BackupFirst = true}, verify{.Verify = true};
        QTest::newRow("backup") << sim::RadioFaults{} << backup
                                << QStringList{"写频成功！", "", "1"};
        QTest::newRow("backup read fails")
            << sim::RadioFaults{.stopAfter = 5} << backup
            << QStringList{"", "写频前读取备份失败，未写入任何数据。", "0"};
        QTest::newRow("backup not saved")
            << sim::RadioFaults{} << backup << QStringList{"", "对讲机备份未能保存", "0"};
        QTest::newRow("verified") << sim::RadioFaults{} << verify
                                  << QStringList{"写频成功，校验无误！", "", "1"};
        QTest::newRow("one byte stored wrong")
            << sim::RadioFaults{.corruptAddress = 0x0123} << verify
            << QStringList{"写频校验失败！",
                           "写频校验失败：对讲机地址 0x0123 处的数据与写入的数据不同。请重新写频。",
                           "1"};
    }
    void checkedWrites() {
        QFETCH(sim::RadioFaults, faults);
        QFETCH(WriteChecks, checks);
        QFETCH(QStringList, row);
        Bench b(faults, checks);
        if (QTest::currentDataTag() == QByteArray("backup not saved"))
            QVERIFY(WriteAll(QDir(b.data.path()).filePath("backups"), "a file in the way"));
        const EditorState before = b->editor();
        BoxAnswerer boxes;
        b->runToolbarKey("write");
        if (faults.stopAfter >= 0) {
            QVERIFY(b.run(faults.stopAfter + 1));
            b.tick(Timer::Watchdog, 4);
        }
        QVERIFY(b.run());
        if (!row[0].isEmpty())
            QCOMPARE(b.status(), row[0]);
        QTRY_COMPARE(boxes.count(), row[1].isEmpty() ? 0 : 1);
        QVERIFY2(boxes.text().contains(row[1]), qPrintable(boxes.text()));
        if (!row[1].isEmpty())
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(b->editor() == before);
        QTRY_COMPARE(b.radio.completedWrites(), row[2].toInt());
        QCOMPARE(b.radio.image() == RadioImage(), row[2] == "0");
        QCOMPARE(b.backups("*MHz-write.DAT").size(), row[2].toInt());
        QCOMPARE(b.backups("*-before-write.DAT").size(), row[2] == "1" && checks.BackupFirst);
        if (checks.BackupFirst && row[2] == "1")
            QCOMPARE(b.backup(b.backups("*-before-write.DAT")[0]), RadioImage());
        if (row[1].isEmpty()) // a success shows for its countdown
            QVERIFY(!b.idle());
        b.tick(Timer::Blink, 12);
        QVERIFY(b.idle());
    }

    // Rows: write or read, checks, frames the radio answers (-1: in the pause after the first
    // dialogue), Esc or the button, status, whether warned (partly written), radio changed.
    void cancel_data() {
        AddRows({"read, handshake, Esc: read|0|0|Esc|读频已取消。|0|0",
                 "read, blocks: read|0|7|button|读频已取消。|0|0",
                 "write, handshake, Esc: write|0|2|Esc|写频已取消，对讲机未被改动。|0|0",
                 "write, frames: write|0|8|button|写频已取消，对讲机数据可能不完整！|1|1",
                 "backup read: write|1|4|button|写频已取消，对讲机未被改动。|0|0",
                 "between backup and write: write|1|-1|button|写频已取消，对讲机未被改动。|0|0",
                 "read-back, Esc: write|2|54|Esc|写频成功，校验已取消。|0|1"});
    }
    void cancel() {
        QFETCH(QStringList, row);
        const int stopAfter = row[2].toInt();
        const bool escape = row[3] == "Esc", warned = row[5] == "1";
        Bench b({.stopAfter = stopAfter}, {.BackupFirst = row[1] == "1", .Verify = row[1] == "2"});
        if (escape)
            b.activate();
        const EditorState before = b->editor();
        auto* button = b.find<QPushButton>("cmdCancel");
        QVERIFY(!button->isVisibleTo(b.form.get()));
        b->runToolbarKey(row[0]);
        if (stopAfter >= 0) {
            QVERIFY(b.run(stopAfter + 1));
        } else {
            QVERIFY(QTest::qWaitFor([&] { return b.job().session().showingResult(); }));
            QVERIFY(b.job().active()); // no blink ticks: the next dialogue waits
            QVERIFY(QTest::qWaitFor([&] { return !b.radio.inProgramMode(); })); // got its 'E'
        }
        QVERIFY(button->isVisibleTo(b.form.get()));
        const int frames = b.radio.framesReceived();
        BoxAnswerer boxes;
        if (escape)
            QTest::keyClick(b.form.get(), Qt::Key_Escape);
        else
            button->click();
        QVERIFY(!b.job().active());
        QVERIFY(b.idle()); // at once, without the countdown
        QVERIFY(!b.transfer().port().isOpen());
        QVERIFY(!button->isVisibleTo(b.form.get()));
        QCOMPARE(b.status(), row[4]);
        QVERIFY(b->editor() == before);
        if (stopAfter >= 0) // the end request reached the radio
            QTRY_COMPARE(b.radio.framesReceived(), frames + 1);
        QTRY_COMPARE(boxes.count(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(boxes.text(),
                     QString("写频已取消。对讲机中可能只写入了部分数据，使用前请重新写频。"));
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Warning);
        }
        QCOMPARE(b.radio.image() != RadioImage(), row[6] == "1");
        b.tick(Timer::Blink, 12); // nothing starts afterwards
        QVERIFY(!b.job().active());
        QVERIFY(!b.transfer().port().isOpen());
    }

    void trace() {
        Bench b({.split = true});
        BoxAnswerer boxes;
        b.trigger("mnuopentrace");
        QTRY_COMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("还没有串口记录。每次读频或写频都会保存一份。"));
        QVERIFY(b.opened.isEmpty());
        b->runToolbarKey("write");
        QVERIFY(b.run());
        const QDir folder(b.transfer().traceDirectory());
        const QStringList traces = folder.entryList({"*-write.txt"}, QDir::Files);
        QCOMPARE(traces.size(), 1);
        QVERIFY(
            ReadAll(folder.filePath(traces[0])).contains(", port " + b.pty.slavePath().toUtf8()));
        b.trigger("mnuopentrace");
        QCOMPARE(b.opened, QList<QUrl>{QUrl::fromLocalFile(folder.filePath(traces[0]))});
    }

    void writeChecksRemembered() {
        Window w(QByteArray("\0\0\0", 3), true, Form1::Options::withoutTimers());
        auto* backup = w.find<QAction>("mnubackupfirst");
        auto* verify = w.find<QAction>("mnuverify");
        QVERIFY(backup->isCheckable() && verify->isCheckable());
        QVERIFY(!backup->isChecked() && !verify->isChecked()); // off by default
        verify->trigger();
        QCOMPARE(w->transfer().writeChecks(), (WriteChecks{false, true}));
        const auto next = OpenMainWindow(w.dir.path(), Form1::Options::withoutTimers());
        QVERIFY(!next->findChild<QAction*>("mnubackupfirst")->isChecked());
        QVERIFY(next->findChild<QAction*>("mnuverify")->isChecked());
        QCOMPARE(ReadAll(w.dir.filePath("parameter")), QByteArray("\0\0\0", 3));
        // The captions, in both languages.
        const QStringList names{"mnubackupfirst", "mnuverify", "mnuopenbackups", "mnuopentrace",
                                "cmdCancel"};
        QStringList texts[2];
        for (int language : {0, 1}) {
            w->editor().Language = language;
            w->ApplyLanguage();
            texts[language] = Shown(w.form.get(), names);
            for (const QString& t : texts[language])
                QVERIFY(!t.isEmpty() && t != "<none>");
        }
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(texts[0][i] != texts[1][i]);
        QCOMPARE(texts[1].last(), QString("Cancel"));
    }

    void writeChecksFile_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<WriteChecks>("checks");
        QTest::newRow("both") << QByteArray("backup-before-write=1\nverify-after-write=1\n")
                              << WriteChecks{true, true};
        QTest::newRow("spaces, CRLF, other lines")
            << QByteArray("# x\r\n verify-after-write = 1\r\nzoom=1\n") << WriteChecks{false, true};
        QTest::newRow("damaged values")
            << QByteArray("backup-before-write=yes\nverify-after-write") << WriteChecks{};
        QTest::newRow("binary") << QByteArray("\xFF\x00=1\n", 5) << WriteChecks{};
    }
    void writeChecksFile() {
        QFETCH(QByteArray, text);
        QFETCH(WriteChecks, checks);
        QCOMPARE(ParseWriteChecks(text), checks);
    }

    // Ports that do not open: a path that is no device, a file the user may not use, and no
    // port at all. None depends on the serial ports this machine has. The case of a device
    // without rights needs an ordinary user (the suite also runs as one when run as root).
    void portProblems_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("advice");
        QTest::newRow("missing device") << "/dev/tr640-no-such-port"
                                        << "找不到串口 %1";
        QTest::newRow("device without rights") << "ttyFAKE"
                                               << "没有使用 %1 的权限";
    }
    void portProblems() {
        QFETCH(QString, device);
        QFETCH(QString, advice);
        Window w(QByteArray(), false, Form1::Options::withoutTimers());
        if (!device.startsWith('/')) {
            device = w.dir.filePath(device);
            QVERIFY(WriteAll(device, {}));
            QVERIFY(QFile::setPermissions(device, QFileDevice::Permissions()));
            if (QFileInfo(device).isReadable())
                QSKIP(
                    "file modes do not deny this user (root); the run as an ordinary user has it");
        }
        BoxAnswerer boxes;
        w->portMenu().choosePortByName(device);
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(
            boxes.text().startsWith(
                QString("串行端口%1已被其它程序使用，请选择其它串口或关掉其程序.\n\n").arg(device) +
                advice.arg(device)),
            qPrintable(boxes.text()));
        // The same advice after the not-open text of a read whose remembered port is gone.
        w->state().PortName = device;
        w->runToolbarKey("read");
        QCOMPARE(boxes.count(), 2);
        QVERIFY2(boxes.text(1).startsWith("通信端口未打开，请先选择菜单“通信端口”打开其串口！\n\n" +
                                          advice.arg(device)),
                 qPrintable(boxes.text(1)));
        QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled());
        QFile::setPermissions(device, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void noPortChosen() {
        Window w(QByteArray(), false, Form1::Options::withoutTimers());
        BoxAnswerer boxes;
        w->runToolbarKey("read");
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("通信端口未打开，请先选择菜单“通信端口”打开其串口！"));
        QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled());
        QVERIFY(w.find<QAction>("mnureadFre")->isEnabled());
    }

    void menuPortThatDoesNotOpen() {
        // A port of the menu this user cannot open: missing here, or not the user's device.
        int number = 0;
        for (int n : {3, 8, 7, 6, 4, 2, 1})
            if (!number && !QFileInfo(link::SerialLink::menuPortName(n)).isReadable())
                number = n;
        if (!number)
            QSKIP("every port of the menu opens for this user; the run as an ordinary user has it");
        Window w(QByteArray("\0\x05\x01", 3), true, Form1::Options::withoutTimers());
        BoxAnswerer boxes;
        QAction* item = w.find<QAction>(QString("mnucom%1").arg(number));
        item->trigger();
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(
            boxes.text().startsWith(QString("Serial port %1 has been other programs use, please "
                                            "choose other serial or turn off its program.")
                                        .arg(number)),
            qPrintable(boxes.text()));
        QVERIFY(!item->isChecked());
        QCOMPARE(w->state().ComPortNumber, 5);
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
