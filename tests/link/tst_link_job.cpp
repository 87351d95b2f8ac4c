// Transfers of several dialogues against the radio model: backup before writing, verification
// after it, failures and cancelling at every step, the serial trace, and the folders the kept
// backups and traces go to (names, the limit, the user's own files).

#include "LinkTestSupport.h"
#include "cli/CliRun.h"
#include "link/KeptFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <QTest>

using namespace tr640;
using namespace tr640::test;

namespace {

const QDateTime kWhen(QDate(2025, 3, 1), QTime(10, 15, 0));

// What else happens: the watchdog ends a silent radio, or the user or the host steps in.
enum class Event { Watchdog, Cancel, CancelInPause, BackupNotKept, PortShut };
// How the transfer differs from a plain one in English, on the radio's band (0).
enum class Variant { Plain, Chinese, Calibrated, OtherBand, AskYes, AskNo, Bytewise, Noise, Short };

} // namespace

class TestLinkJob : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void jobs_data() {
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<link::JobOptions>("options");
        QTest::addColumn<sim::RadioFaults>("faults");
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<Event>("event");
        QTest::addColumn<JobResult>("result");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<int>("sent");     // write frames sent
        QTest::addColumn<QString>("says"); // the status line, or the end of the error box's text
        const auto R = Direction::Read, W = Direction::Write;
        const link::JobOptions plain, backup{true, false}, verify{false, true}, both{true, true};
        const auto P = Variant::Plain;
        const auto watchdog = Event::Watchdog, cancel = Event::Cancel;
        const auto stop = [](int n) { return sim::RadioFaults{.stopAfter = n}; };
        const sim::RadioFaults none;
        const QStringList read{"read"}, write{"write"}, before{"before-write"}, nothing;
        const QString readDone = "Read frequency success!", done = "Write frequency success!",
                      unchanged = "Writing cancelled; the radio was not changed.",
                      partly = "Writing cancelled; the radio may hold a partly written codeplug!",
                      partlyNote = "The radio may hold a partly written codeplug: write it again "
                                   "before using the radio.";
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        const auto Done = JobResult::Done, Failed = JobResult::CommunicationError,
                   Cancelled = JobResult::Cancelled;
        row("read") << R << both << none << P << watchdog << Done << read << 0 << readDone;
        row("read byte by byte") << R << plain << none << Variant::Bytewise << watchdog << Done
                                 << read << 0 << readDone;
        row("read, noise and ack joined")
            << R << plain << sim::RadioFaults{.garbage = true} << Variant::Noise << watchdog << Done
            << read << 0 << readDone;
        row("write, Chinese") << W << plain << none << Variant::Chinese << watchdog << Done << write
                              << 46 << "写频成功！";
        row("write with calibration")
            << W << plain << none << Variant::Calibrated << watchdog << Done << write << 47 << done;
        row("service mode, Yes") << W << plain << none << Variant::AskYes << watchdog << Done
                                 << write << 46 << done;
        row("service mode, No") << W << plain << none << Variant::AskNo << watchdog
                                << JobResult::BandDeclined << nothing << 0
                                << "Frequency band with discrepancies, do you wish to continue?";
        // Replies in pieces; the trace holds every byte and names the steps.
        row("backup first and verify")
            << W << both << sim::RadioFaults{.split = true} << P << watchdog << Done
            << QStringList{"before-write", "write"} << 46 << "Write frequency success, verified!";
        row("verify finds a corrupted byte")
            << W << verify << sim::RadioFaults{.corruptAddress = 0x0123} << P << watchdog
            << JobResult::VerifyFailed << write << 46 << "Verification after writing failed!";
        row("an image too short for a frame") << W << plain << none << Variant::Short << watchdog
                                              << Failed << write << 16 << partlyNote;
        row("backup not kept") << W << both << none << P << Event::BackupNotKept
                               << JobResult::BackupNotKept << nothing << 0
                               << "The backup could not be saved; nothing written.";
        row("band refused after the backup")
            << W << both << none << Variant::OtherBand << watchdog << JobResult::BandRefused
            << before << 0 << "Frequency band with discrepancies, do not write.";
        // The radio answers `stopAfter` frames: PROGRAM, identify, ack, then those of the step.
        row("backup read fails") << W << backup << stop(5) << P << watchdog << Failed << nothing
                                 << 0
                                 << "The radio could not be read for the backup before writing; "
                                    "nothing was written.";
        row("write fails midway") << W << plain << stop(8) << P << watchdog << Failed << write << 6
                                  << partlyNote;
        // A write is 50 frames with its end request; the read-back's first request is 54th.
        row("read-back fails") << W << verify << stop(53) << P << watchdog << Failed << write << 46
                               << "The codeplug was written, but reading it back for the check "
                                  "failed: it is not verified.";
        row("port does not open for the write")
            << W << both << none << P << Event::PortShut << JobResult::PortLost << before << 0
            << "The serial port could not be opened again; the transfer stopped.";
        row("cancel a read") << R << plain << stop(7) << P << cancel << Cancelled << nothing << 0
                             << "Reading cancelled.";
        row("cancel the backup read")
            << W << backup << stop(4) << P << cancel << Cancelled << nothing << 0 << unchanged;
        row("cancel between backup and write") << W << backup << none << P << Event::CancelInPause
                                               << Cancelled << before << 0 << unchanged;
        row("cancel the write before any frame")
            << W << plain << stop(2) << P << cancel << Cancelled << nothing << 0 << unchanged;
        row("cancel the write, one frame unanswered")
            << W << plain << stop(3) << P << cancel << Cancelled << write << 1 << partly;
        row("cancel the write, some frames")
            << W << plain << stop(8) << P << cancel << Cancelled << write << 6 << partly;
        row("cancel the read-back") << W << verify << stop(54) << P << cancel << Cancelled << write
                                    << 46 << "Write frequency success; the check was cancelled.";
    }
    void jobs() {
        QFETCH(Direction, direction);
        QFETCH(link::JobOptions, options);
        QFETCH(sim::RadioFaults, faults);
        QFETCH(Variant, variant);
        QFETCH(Event, event);
        QFETCH(JobResult, result);
        QFETCH(QStringList, kept);
        QFETCH(int, sent);
        QFETCH(QString, says);
        sim::RadioModel radio(0x33, faults);
        radio.setMemory(OldMemory());
        LinkHost h(&radio, true);
        link::TransferSession& s = h.job.session();
        h.delivery = variant == Variant::Bytewise ? Delivery::ByteByByte
                     : variant == Variant::Noise  ? Delivery::Joined
                                                  : Delivery::AsSent;
        if (variant == Variant::Short) // the frame at 0x0110 would hold 8 bytes
            h.image = BytesToImageHex(PatternImage(0x108));
        const bool service = variant == Variant::AskYes || variant == Variant::AskNo;
        // A read takes the radio's band, whatever the selector says.
        h.band = direction == Direction::Read               ? 3
                 : service || variant == Variant::OtherBand ? 5
                                                            : 0;
        h.keepBeforeWrite = event != Event::BackupNotKept;
        h.portOpens = event != Event::PortShut;
        h.answer = variant == Variant::AskYes;
        s.setServiceMode(service);
        if (service)
            h.duringModal = [&] { // the question holds the watchdog and only collects bytes
                const qsizetype before = h.sent.size();
                QVERIFY(!s.isTimerActive(Timer::Watchdog));
                h.ticks(Timer::Watchdog, 6);
                s.receive(Ack());
                QCOMPARE(h.sent.size(), before);
            };
        s.setCalibrationWrite(variant == Variant::Calibrated);
        s.setLanguage(variant == Variant::Chinese ? 0 : 1);
        QVERIFY(h.job.start(direction, options));
        if (event == Event::CancelInPause) {
            h.pump(); // without blink ticks a job of several steps waits in the pause,
            h.job.tick(Timer::Blink); // which lasts two
        } else {
            h.settle();
        }
        if (event == Event::Cancel || event == Event::CancelInPause) {
            QCOMPARE(s.showingResult(), event == Event::CancelInPause);
            QCOMPARE(s.running(), event == Event::Cancel);
            const int before = radio.framesReceived();
            QVERIFY(h.job.cancel());
            QCOMPARE(radio.framesReceived(), before + (event == Event::Cancel ? 1 : 0));
        } else {
            h.ticks(Timer::Watchdog, 4);
        }

        QCOMPARE(h.reports.size(), 1);
        const link::JobReport& report = h.reports.first();
        QCOMPARE(report.result, result);
        QCOMPARE(report.mismatchAddress, result == JobResult::VerifyFailed ? 0x0123 : -1);
        QCOMPARE(report.framesWritten, sent);
        QCOMPARE(report.writeComplete, sent >= 46);
        QCOMPARE(h.questions, service ? 1 : 0);
        if (h.errorText.isEmpty()) {
            QCOMPARE(s.statusText(), says);
        } else {
            QVERIFY(h.errorText.startsWith(
                QStringLiteral("Communication error, please check the intercom model, fault, "
                               "attachment and computer serial choice!")));
            QVERIFY2(h.errorText.endsWith(says), qPrintable(h.errorText));
        }
        QCOMPARE(h.kept, kept);
        for (qsizetype i = 0; i < kept.size(); ++i)
            QCOMPARE(h.keptImages[i],
                     kept[i] == "write" ? ImageHexToBytes(h.image) : OldMemory().first(848));
        const bool backedUp = kept.contains("before-write") || event == Event::BackupNotKept;
        QCOMPARE(report.backup, backedUp ? OldMemory().first(848) : QByteArray());
        QCOMPARE(h.reads, direction == Direction::Read && result == JobResult::Done
                              ? QList<QString>{BytesToImageHex(OldMemory())}
                              : QList<QString>{});
        QCOMPARE(h.readBand, h.reads.isEmpty() ? -1 : 0);
        QCOMPARE(h.sent.first(3), (QList<QByteArray>{"PROGRAM", Bytes({2}), Ack()}));
        QCOMPARE(h.sent.last(), QByteArray("E"));
        const QByteArray trace = h.job.trace().text();
        int bad = -1;
        QCOMPARE(TraceBytes(trace, "TX", &bad), h.sent.join());
        QCOMPARE(bad, 0);
        QCOMPARE(TraceBytes(trace, "RX"), h.replies);
        QVERIFY(trace.startsWith("# TR-640 serial trace, "));
        if (faults.split) {
            QVERIFY(trace.contains("# write, backup first, verify\n"));
            for (const char* step : {"backup read before writing: read done", "write: write done",
                                     "read-back for verification: read done"})
                QVERIFY2(trace.contains(step), step);
        }

        // Requests from 0x0010 in steps of 0x40; 16 of them for a whole read.
        const QList<QByteArray> requests = h.framesOf('R');
        if (!requests.isEmpty())
            QCOMPARE(requests[0], Bytes({0x52, 0x00, 0x10, 0x40}));
        if (result == JobResult::Done && !requests.isEmpty()) {
            QCOMPARE(requests.size() % 16, 0);
            QCOMPARE(requests[15], Bytes({0x52, 0x03, 0xD0, 0x40}));
            QCOMPARE(s.progressValue(), 425);
        } else if (result == JobResult::Done) {
            QCOMPARE(s.progressValue(), 460);
        }
        // Frames of 16 bytes of the image: 0x0010-0x017F, the calibration block 0x0180 when
        // asked, 0x01B8, 0x0200-0x035F. The radio stores all but a last unanswered one.
        const QList<QByteArray> frames = h.framesOf('W');
        QCOMPARE(frames.size(), sent);
        for (const QByteArray& f : frames)
            QCOMPARE(f, Bytes({'W', AddressOf(f) >> 8, AddressOf(f) & 0xFF, 0x10}) +
                            PatternImage().mid(AddressOf(f) - 0x10, 16));
        if (sent >= 46) {
            QCOMPARE(AddressOf(frames[0]), 0x0010);
            QCOMPARE(AddressOf(frames[23]), sent == 47 ? 0x0180 : 0x01B8);
            QCOMPARE(AddressOf(frames.last()), 0x0350);
        }
        QByteArray memory = OldMemory();
        for (const QByteArray& frame :
             frames.first(faults.stopAfter > 0 && sent > 0 && sent < 46 ? sent - 1 : sent))
            memory.replace(AddressOf(frame) - 0x10, 16, frame.mid(4));
        if (faults.corruptAddress >= 0) // stored inverted
            memory[faults.corruptAddress - 0x10] ^= '\xFF';
        QCOMPARE(radio.memory(), memory);

        // The result blinks for twelve ticks as a single dialogue's; nothing starts afterwards.
        QVERIFY(!h.job.active());
        QVERIFY(!h.job.cancel());
        const bool blinking =
            (event == Event::Watchdog || event == Event::BackupNotKept) && h.errorText.isEmpty();
        for (int i = 1; i <= 12; ++i) {
            const bool visible = s.statusVisible();
            if (blinking)
                QVERIFY(!h.job.start(Direction::Read));
            h.job.tick(Timer::Blink);
            if (blinking)
                QCOMPARE(s.statusVisible(), i < 12 && !visible);
            QCOMPARE(s.busy(), blinking && i < 12);
        }
        const qsizetype after = h.sent.size();
        for (Timer t : {Timer::Blink, Timer::Watchdog, Timer::Retry})
            h.ticks(t, 5);
        QCOMPARE(h.sent.size(), after);
        QCOMPARE(h.reports.size(), 1);
    }

    void traceOfABabblingLineStops() {
        link::SerialTrace trace;
        trace.begin(QStringLiteral("read"), QString());
        const QByteArray noise(64 * 1024, '\x55');
        for (int i = 0; i < 40; ++i)
            trace.received(noise);
        QVERIFY(trace.text().size() <= link::SerialTrace::kLimit + 100);
        QVERIFY(trace.text().endsWith("# trace too long, the rest is left out\n"));
    }

    void keptNames_data() {
        using link::BackupLabel, link::ImageKind;
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name"); // empty: the folder cannot be made
        QTest::newRow("backup") << BackupLabel(0, ImageKind::Read)
                                << "20250301-101500-400-470MHz-read.DAT";
        QTest::newRow("before a write") << BackupLabel(5, ImageKind::BeforeWrite)
                                        << "20250301-101500-136-174MHz-before-write.DAT";
        QTest::newRow("written") << BackupLabel(6, ImageKind::Written)
                                 << "20250301-101500-600-720MHz-write.DAT";
        QTest::newRow("cannot leave the folder") << "../../x"
                                                 << "20250301-101500-.._.._x.DAT";
        QTest::newRow("a file where the folder goes") << "read" << QString();
    }

    void keptNames() {
        QFETCH(QString, label);
        QFETCH(QString, name);
        QTemporaryDir dir;
        if (name.isEmpty())
            QVERIFY(PutFile(dir.filePath("backups"), "a file"));
        link::RotatingFolder folder(dir.filePath("backups"), "DAT", 10);
        FileStatus st;
        const QString path = folder.store(kWhen, label, "bytes", &st);
        QCOMPARE(st.ok(), !name.isEmpty());
        QCOMPARE(QFileInfo(path).fileName(), name);
        if (name.isEmpty()) {
            QVERIFY(folder.files().isEmpty());
            return;
        }
        QCOMPARE(QFileInfo(path).dir(), QDir(dir.filePath("backups")));
        QCOMPARE(FileBytes(path), QByteArray("bytes"));
        // Names within one second get a number.
        QCOMPARE(QFileInfo(folder.store(kWhen, label, "2")).fileName(),
                 QFileInfo(path).completeBaseName() + "-2.DAT");
    }

    void keptNewest() {
        QTemporaryDir dir;
        // The user's own files, and names that only look like the program's.
        const QStringList foreign{"notes.txt", "important.DAT", "20240101-000000-x.DAT.bak",
                                  "20240101-000000-x.dat", "2024-01-01-x.DAT"};
        for (const QString& name : foreign)
            QVERIFY(PutFile(dir.filePath(name), "mine"));
        link::RotatingFolder folder(dir.path(), "DAT", 5);
        QStringList stored;
        for (int i = 0; i < 8; ++i)
            stored << folder.store(kWhen.addSecs(i / 2), "read", QByteArray::number(i));
        QCOMPARE(folder.files(), stored.mid(3));
        QCOMPARE(folder.newest(), stored.last());
        QCOMPARE(FileBytes(stored.last()), QByteArray("7"));
        for (const QString& name : foreign)
            QCOMPARE(FileBytes(dir.filePath(name)), QByteArray("mine"));
        // An older one made later (the clock was set back) is the first to go.
        folder.store(kWhen.addSecs(-60), "read", "old");
        QCOMPARE(folder.files().size(), 5);
        QVERIFY(!folder.files().first().contains("101400"));
    }
};

QTEST_GUILESS_MAIN(TestLinkJob)
#include "tst_link_job.moc"
