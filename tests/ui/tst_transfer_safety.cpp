// The main window's transfer safety over a pseudo-terminal to the radio model: the copies kept
// of every codeplug read and written, the backup before a write and the check after it,
// cancelling, the serial trace, the remembered write checks, and port advice.

#include "link/LinkTestSupport.h"
#include "support/UiTestSupport.h"

#include "PseudoTerminal.h"
#include "RadioModel.h"
#include "RadioServer.h"
#include "app/WriteChecks.h"
#include "codeplug/Codec.h"
#include "link/TransferJob.h"
#include "link/TransferTexts.h"
#include "ui/main/TransferController.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QUrl>

using namespace tr640;
using namespace tr640::test;
using link::LinkText;

namespace {

EditorState Sample() {
    EditorState s;
    s.cell(3, ColRxFrequency) = "435.01250";
    s.cell(3, ColTxFrequency) = "435.01250";
    s.setListCell(3, ColRxTone, 12);
    s.Settings.EmbeddedMessage[1] = "RADIO";
    return s;
}

// What the radio holds before a write: another codeplug than the editor's.
QByteArray RadioImage() {
    EditorState s = Sample();
    s.cell(3, ColRxFrequency) = "440.00000";
    s.Settings.EmbeddedMessage[1] = "OLD";
    return EncodeImage(s);
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Zh(LinkText t) {
    return link::LinkTextFor(t, 0);
}

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

    explicit Bench(sim::RadioFaults faults = {}, WriteChecks checks = {})
        : Window(QByteArray(), false, Form1::Options{QString(), false}), radio(0x33, faults) {
        QString error;
        if (!pty.open(&error))
            qFatal("no pseudo-terminal: %s", qPrintable(error));
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         [this](const QByteArray& b) {
                             toRadio += b;
                             server.feed(b);
                         });
        radio.setMemory(RadioImage());
        SaveWriteChecks(dir.path(), checks);
        transfer().setPreferencesDirectory(dir.path());
        transfer().setDataDirectory(data.path());
        transfer().setUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        transfer().choosePortByName(pty.slavePath());
        form->replaceEditor(Sample());
    }
    TransferController& transfer() const { return form->transfer(); }
    link::TransferJob& job() const { return transfer().job(); }
    bool idle() const {
        return find<QToolBar>("Toolbar1")->isEnabled() && find<QMenu>("mnupro")->isEnabled();
    }
    // Lets the bytes travel and gives the blink ticks of the pauses between dialogues, until
    // the transfer has ended.
    bool finished() {
        return QTest::qWaitFor(
            [this] {
                if (job().active() && job().session().showingResult())
                    transfer().tick(link::Timer::Blink);
                return !job().active();
            },
            20000);
    }
    // Until the radio has taken `frames` frames (the pauses between dialogues given their
    // blink ticks), and a little longer for any reply in flight.
    bool radioReached(int frames) {
        const bool reached = QTest::qWaitFor([&] {
            if (job().active() && job().session().showingResult())
                transfer().tick(link::Timer::Blink);
            return radio.framesReceived() >= frames;
        });
        return reached && QTest::qWaitFor([&] { return server.idle(); });
    }
    void watchdog() {
        for (int i = 0; i < 4; ++i)
            transfer().tick(link::Timer::Watchdog);
    }
    void countDown() {
        for (int i = 0; i < 12; ++i)
            transfer().tick(link::Timer::Blink);
    }
    QStringList backups(const QString& pattern = QStringLiteral("*")) const {
        return QDir(transfer().backupDirectory()).entryList({pattern}, QDir::Files, QDir::Name);
    }
    QString backupPath(const QString& name) const {
        return QDir(transfer().backupDirectory()).filePath(name);
    }
    QString status() const { return find<QLabel>("Label")->text(); }
};

} // namespace

class TestTransferSafety : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void copiesOfReadAndWrite() {
        Bench b;
        b->runToolbarKey("read");
        QVERIFY(b.finished());
        const QStringList afterRead = b.backups();
        QCOMPARE(afterRead.size(), 1);
        QVERIFY(QRegularExpression("^\\d{8}-\\d{6}-400-470MHz-read\\.DAT$")
                    .match(afterRead.first())
                    .hasMatch());
        QCOMPARE(FileBytes(b.backupPath(afterRead.first())), RadioImage());
        b.countDown();

        b->replaceEditor(Sample());
        b->runToolbarKey("write");
        QVERIFY(b.finished());
        const QStringList written = b.backups("*-write.DAT");
        QCOMPARE(written.size(), 1);
        QCOMPARE(FileBytes(b.backupPath(written.first())), EncodeImage(Sample()));
        QCOMPARE(b.backups().size(), 2);

        b.find<QAction>("mnuopenbackups")->trigger();
        QCOMPARE(b.opened, QList<QUrl>{QUrl::fromLocalFile(b.transfer().backupDirectory())});
    }

    void backupBeforeWrite_data() {
        QTest::addColumn<int>("stopAfter"); // frames the radio answers
        QTest::addColumn<bool>("keepable"); // the backup folder can be made
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("box"); // part of the one message shown, empty for none
        QTest::newRow("radio answers") << -1 << true << true << QString();
        QTest::newRow("backup read fails: nothing written")
            << 5 << true << false << Zh(LinkText::BackupReadFailed);
        QTest::newRow("backup not saved: nothing written")
            << -1 << false << false << QString("对讲机备份未能保存");
    }
    void backupBeforeWrite() {
        QFETCH(int, stopAfter);
        QFETCH(bool, keepable);
        QFETCH(bool, written);
        QFETCH(QString, box);
        Bench b({.stopAfter = stopAfter}, {.BackupFirst = true});
        if (!keepable) {
            QFile blocker(QDir(b.data.path()).filePath("backups"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        const EditorState before = b->editor();
        BoxAnswerer boxes;
        b->runToolbarKey("write");
        if (stopAfter >= 0) {
            QVERIFY(b.radioReached(stopAfter + 1));
            b.watchdog();
        }
        QVERIFY(b.finished());
        QTRY_COMPARE(boxes.count(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QVERIFY2(boxes.seen()[0].text.contains(box), qPrintable(boxes.seen()[0].text));
        QVERIFY(b->editor() == before);
        QTRY_VERIFY(!b.radio.inProgramMode() || stopAfter >= 0);
        QCOMPARE(b.radio.completedWrites(), written ? 1 : 0);
        if (!written) {
            QCOMPARE(b.radio.image(), RadioImage());
            QVERIFY(!b.toRadio.contains(QByteArray("W\x00\x10\x10", 4)));
            QVERIFY(b.backups("*-write.DAT").isEmpty());
            return;
        }
        const QStringList before_ = b.backups("*-before-write.DAT");
        QCOMPARE(before_.size(), 1);
        QCOMPARE(FileBytes(b.backupPath(before_.first())), RadioImage());
        QCOMPARE(b.radio.image().first(0x170), EncodeImage(Sample()).first(0x170));
        QCOMPARE(b.status(), QString("写频成功！"));
    }

    void verifyAfterWrite_data() {
        QTest::addColumn<int>("corrupt");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("box");
        QTest::newRow("radio holds what was sent")
            << -1 << Zh(LinkText::VerifySuccess) << QString();
        QTest::newRow("one byte stored wrong")
            << 0x0123 << Zh(LinkText::VerifyFailed) << Zh(LinkText::VerifyMismatch).arg("0x0123");
    }
    void verifyAfterWrite() {
        QFETCH(int, corrupt);
        QFETCH(QString, box);
        Bench b({.corruptAddress = corrupt}, {.Verify = true});
        BoxAnswerer boxes;
        b->runToolbarKey("write");
        QVERIFY(b.finished());
        QTEST(b.status(), "status");
        QTRY_COMPARE(boxes.count(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            QCOMPARE(boxes.seen()[0].text, box);
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        }
        QVERIFY(!b.idle()); // the result shows for its countdown
        b.countDown();
        QVERIFY(b.idle());
    }

    void cancel_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<WriteChecks>("checks");
        QTest::addColumn<int>("stopAfter"); // -1: in the pause after the first dialogue
        QTest::addColumn<bool>("escape");   // Esc rather than the button
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("warned");  // the partly-written message
        QTest::addColumn<bool>("changed"); // the radio's memory
        const WriteChecks plain, backup{.BackupFirst = true}, verify{.Verify = true};
        const QString read = Zh(LinkText::ReadCancelled);
        const QString unchanged = Zh(LinkText::WriteCancelledUnchanged);
        QTest::newRow("read, handshake, Esc")
            << false << plain << 0 << true << read << false << false;
        QTest::newRow("read, blocks") << false << plain << 7 << false << read << false << false;
        QTest::newRow("write, handshake, Esc")
            << true << plain << 2 << true << unchanged << false << false;
        QTest::newRow("write, frames")
            << true << plain << 8 << false << Zh(LinkText::WriteCancelledPartial) << true << true;
        QTest::newRow("backup read") << true << backup << 4 << false << unchanged << false << false;
        QTest::newRow("between backup and write")
            << true << backup << -1 << false << unchanged << false << false;
        QTest::newRow("read-back, Esc")
            << true << verify << 54 << true << Zh(LinkText::VerifyCancelled) << false << true;
    }
    void cancel() {
        QFETCH(bool, write);
        QFETCH(WriteChecks, checks);
        QFETCH(int, stopAfter);
        QFETCH(bool, escape);
        QFETCH(bool, warned);
        QFETCH(bool, changed);
        Bench b({.stopAfter = stopAfter}, checks);
        if (escape) {
            b->show();
            QVERIFY(QTest::qWaitForWindowActive(b.form.get()));
        }
        const EditorState before = b->editor();
        auto* button = b.find<QPushButton>("cmdCancel");
        QVERIFY(!button->isVisibleTo(b.form.get()));
        b->runToolbarKey(write ? "write" : "read");
        if (stopAfter >= 0) {
            QVERIFY(b.radioReached(stopAfter + 1));
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
        QTEST(b.status(), "status");
        QVERIFY(b->editor() == before);
        if (stopAfter >= 0) // the end request reached the radio
            QTRY_COMPARE(b.radio.framesReceived(), frames + 1);
        QTRY_COMPARE(boxes.count(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(boxes.seen()[0].text, Zh(LinkText::WriteCancelledMessage));
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Warning);
        }
        QCOMPARE(b.radio.image() != RadioImage(), changed);
        // Nothing starts afterwards: no next dialogue, the port stays closed.
        b.countDown();
        QVERIFY(!b.job().active());
        QVERIFY(!b.transfer().port().isOpen());
    }

    void traceHoldsEveryByte() {
        Bench b({.split = true}, {.BackupFirst = true, .Verify = true});
        BoxAnswerer boxes;
        b.find<QAction>("mnuopentrace")->trigger();
        QTRY_COMPARE(boxes.count(), 1);
        QCOMPARE(boxes.seen()[0].text, Zh(LinkText::NoTraceYet));
        QVERIFY(b.opened.isEmpty());

        b->runToolbarKey("write");
        QVERIFY(b.finished());
        QCOMPARE(b.status(), Zh(LinkText::VerifySuccess));
        QVERIFY(QTest::qWaitFor([&] { return b.server.idle(); }));
        const QStringList traces =
            QDir(b.transfer().traceDirectory()).entryList({"*-write.txt"}, QDir::Files);
        QCOMPARE(traces.size(), 1);
        const QString path = QDir(b.transfer().traceDirectory()).filePath(traces.first());
        const QByteArray trace = FileBytes(path);
        int bad = -1;
        const QByteArray sent = TraceBytes(trace, "TX", &bad);
        QCOMPARE(bad, 0);
        QTRY_COMPARE(b.toRadio.size(), sent.size()); // the end request may still be on its way
        QCOMPARE(sent, b.toRadio);
        QCOMPARE(TraceBytes(trace, "RX"), b.fromRadio);
        QVERIFY(trace.contains(", port " + b.pty.slavePath().toUtf8()));

        b.find<QAction>("mnuopentrace")->trigger();
        QCOMPARE(b.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    }

    void writeChecksRemembered() {
        Window w(QByteArray("\0\0\0", 3), true, Form1::Options{QString(), false});
        w->transfer().setPreferencesDirectory(w.dir.path());
        auto* backup = w.find<QAction>("mnubackupfirst");
        auto* verify = w.find<QAction>("mnuverify");
        QVERIFY(backup->isCheckable() && verify->isCheckable());
        QVERIFY(!backup->isChecked() && !verify->isChecked()); // off by default
        verify->trigger();
        QCOMPARE(w->transfer().writeChecks(), (WriteChecks{false, true}));

        Form1 next(Form1::Options{w.dir.path(), false});
        next.transfer().setPreferencesDirectory(w.dir.path());
        QVERIFY(!next.findChild<QAction*>("mnubackupfirst")->isChecked());
        QVERIFY(next.findChild<QAction*>("mnuverify")->isChecked());
        QCOMPARE(FileBytes(w.dir.filePath("parameter")), QByteArray("\0\0\0", 3));
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
        QCOMPARE(ParseWriteChecks(SerializeWriteChecks(checks)), checks);
    }

    void captions() {
        Window w;
        const char* names[] = {"mnubackupfirst", "mnuverify", "mnuopenbackups", "mnuopentrace",
                               "cmdCancel"};
        QStringList texts[2];
        for (int language : {0, 1}) {
            w->editor().Language = language;
            w->ApplyLanguage();
            for (const char* name : names) {
                QObject* o = w.find(name);
                QVERIFY2(o, name);
                const QString text = o->property("text").toString();
                QVERIFY2(!text.isEmpty(), name);
                texts[language] << text;
            }
        }
        for (qsizetype i = 0; i < texts[0].size(); ++i)
            QVERIFY(texts[0][i] != texts[1][i]);
        QCOMPARE(texts[1].last(), QString("Cancel"));
    }

    void portProblems_data() {
        QTest::addColumn<bool>("denied"); // a device without rights rather than a missing one
        QTest::addColumn<QString>("advice");
        QTest::newRow("missing device") << false << QString("找不到串口 %1");
        QTest::newRow("device without rights") << true << QString("没有使用 %1 的权限");
    }
    void portProblems() {
        QFETCH(bool, denied);
        QFETCH(QString, advice);
        Window w(QByteArray(), false, Form1::Options{QString(), false});
        QString device = QStringLiteral("/dev/tr640-no-such-port");
        QTemporaryDir dir;
        if (denied) {
            device = dir.filePath("ttyFAKE");
            QFile f(device);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            QVERIFY(f.setPermissions(QFileDevice::Permissions()));
            if (QFileInfo(device).isReadable())
                QSKIP("file modes do not deny this user (root)");
        }
        BoxAnswerer boxes;
        w->transfer().choosePortByName(device);
        QCOMPARE(boxes.count(), 1);
        const QString inUse =
            QString("串行端口%1已被其它程序使用，请选择其它串口或关掉其程序.").arg(device);
        QVERIFY(boxes.seen()[0].text.startsWith(inUse + "\n\n" + advice.arg(device)));

        // The same advice after the not-open text of a read whose remembered port is gone.
        w->state().PortName = device;
        w->runToolbarKey("read");
        QCOMPARE(boxes.count(), 2);
        QVERIFY(boxes.seen()[1].text.startsWith(Zh(LinkText::PortNotOpen) + "\n\n" +
                                                advice.arg(device)));
        QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled());
        QFile::setPermissions(device, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
};

QTEST_MAIN(TestTransferSafety)
#include "tst_transfer_safety.moc"
