// Transfers of several dialogues against the radio model: backup before writing, verification
// after it, cancelling at every stage, and the serial trace.

#include "LinkTestSupport.h"
#include "link/Frames.h"
#include "link/TransferJob.h"

#include <QTest>

using namespace tr640;
using namespace tr640::test;
using link::ImageKind;
using link::JobResult;

namespace {

// What the radio holds before the PC writes: not the image the PC sends.
QByteArray OldMemory() {
    QByteArray b = PatternImage(1024);
    for (char& c : b)
        c = static_cast<char>(c ^ 0x5A);
    return b;
}

// The texts the user sees, in English.
const QString kReadDone = QStringLiteral("Read frequency success!");
const QString kWriteDone = QStringLiteral("Write frequency success!");
const QString kVerified = QStringLiteral("Write frequency success, verified!");
const QString kVerifyFailed = QStringLiteral("Verification after writing failed!");
const QString kUnchanged = QStringLiteral("Writing cancelled; the radio was not changed.");

// The owner of a job, wired to a radio model; replies come back through pump().
class JobFakeHost : public link::JobHost, public RadioLine {
public:
    explicit JobFakeHost(sim::RadioModel& r) {
        radio = &r;
        job.session().setLanguage(1);
    }

    link::TransferJob job{*this};
    QString image = BytesToImageHex(PatternImage());
    int band = 0;
    bool keepBeforeWrite = true;
    bool portOpens = true;

    QList<QString> reads;
    QStringList kept;             // kinds of the images kept, in order
    QList<QByteArray> keptImages; // and their bytes
    QList<link::JobReport> reports;
    QString errorText;

    void sendBytes(const QByteArray& frame) override { send(frame); }
    void closePort() override {}
    QString encodeCodeplug() override { return image; }
    int selectedBand() const override { return band; }
    void applyRead(const QString& hex, int) override { reads << hex; }
    bool askBandQuestion(const QString&) override { return false; }
    void showCommunicationError(const QString& text) override { errorText = text; }
    bool reopenPort() override { return portOpens; }
    bool keepImage(ImageKind kind, const QByteArray& bytes, int) override {
        if (kind == ImageKind::BeforeWrite && !keepBeforeWrite)
            return false;
        kept << (kind == ImageKind::Read          ? "read"
                 : kind == ImageKind::BeforeWrite ? "before-write"
                                                  : "write");
        keptImages << bytes;
        return true;
    }
    void jobEnded(const link::JobReport& r) override { reports << r; }

    void pump() {
        pumpInto([this](const QList<QByteArray>& now) {
            for (const QByteArray& piece : now)
                job.receive(piece);
        });
    }
    // Runs the dialogues and the pauses between them until the job ends or the radio is silent.
    void settle() {
        pump();
        for (int i = 0; i < 20 && job.active() && !job.session().running(); ++i) {
            job.tick(Timer::Blink);
            pump();
        }
    }
    void watchdog(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            job.tick(Timer::Watchdog);
            pump();
        }
    }
};

// A radio with OldMemory() and a host whose editor holds PatternImage().
struct Rig {
    explicit Rig(sim::RadioFaults faults = {}) : radio(0x33, faults), host(radio) {
        radio.setMemory(OldMemory());
    }
    sim::RadioModel radio;
    JobFakeHost host;
    bool start(Direction d, link::JobOptions o = {}) { return host.job.start(d, o); }
    bool radioUnchanged() const { return radio.memory() == OldMemory(); }
    // The radio holds the editor's image in the write ranges, with the one corrupted byte.
    bool radioWritten() const {
        QByteArray image = PatternImage();
        const int corrupt = radio.faults().corruptAddress - 0x10;
        if (corrupt >= 0 && corrupt < image.size())
            image[corrupt] = static_cast<char>(~image[corrupt]);
        const QByteArray m = radio.memory();
        return m.first(0x170) == image.first(0x170) && m.mid(0x1F0, 0x160) == image.mid(0x1F0);
    }
};

} // namespace

class TestLinkJob : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sequences_data() {
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<bool>("backupFirst");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<int>("corrupt");   // radio address stored inverted, -1 none
        QTest::addColumn<bool>("keepable"); // the backup before writing can be kept
        QTest::addColumn<int>("band");      // the editor's band; the radio's is 0
        QTest::addColumn<JobResult>("result");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("mismatch");
        QTest::addColumn<QString>("status");
        const QStringList none, write{"write"}, both{"before-write", "write"};
        const auto W = Direction::Write;
        QTest::newRow("read") << Direction::Read << true << true << -1 << true << 0
                              << JobResult::Done << QStringList{"read"} << false << -1 << kReadDone;
        QTest::newRow("write") << W << false << false << -1 << true << 0 << JobResult::Done << write
                               << true << -1 << kWriteDone;
        // The gaps between the written ranges hold the radio's old bytes: not compared.
        QTest::newRow("backup first and verify")
            << W << true << true << -1 << true << 0 << JobResult::Done << both << true << -1
            << kVerified;
        QTest::newRow("verify finds a corrupted byte")
            << W << false << true << 0x0123 << true << 0 << JobResult::VerifyFailed << write << true
            << 0x0123 << kVerifyFailed;
        QTest::newRow("backup not kept")
            << W << true << true << -1 << false << 0 << JobResult::BackupNotKept << none << false
            << -1 << QString("The backup could not be saved; nothing written.");
        QTest::newRow("band refused after the backup")
            << W << true << true << -1 << true << 5 << JobResult::BandRefused
            << QStringList{"before-write"} << false << -1
            << QString("Frequency band with discrepancies, do not write.");
    }
    void sequences() {
        QFETCH(Direction, direction);
        QFETCH(bool, backupFirst);
        QFETCH(bool, verify);
        QFETCH(int, corrupt);
        QFETCH(QStringList, kept);
        QFETCH(bool, written);
        Rig r({.corruptAddress = corrupt});
        QFETCH(bool, keepable);
        r.host.keepBeforeWrite = keepable;
        QFETCH(int, band);
        r.host.band = band;
        QVERIFY(r.start(direction, {backupFirst, verify}));
        r.host.settle();

        QCOMPARE(r.host.reports.size(), 1);
        const link::JobReport& report = r.host.reports.first();
        QTEST(report.result, "result");
        QTEST(report.mismatchAddress, "mismatch");
        QTEST(r.host.job.session().statusText(), "status");
        QCOMPARE(r.host.kept, kept);
        QCOMPARE(r.radioWritten(), written);
        if (!written && direction == Direction::Write)
            QVERIFY(r.host.framesOf('W').isEmpty());
        // Only a plain read reaches the editor; its copy is what the radio held.
        QCOMPARE(r.host.reads.size(), direction == Direction::Read ? 1 : 0);
        for (qsizetype i = 0; i < kept.size(); ++i) {
            const QByteArray expected =
                kept[i] == QLatin1String("write") ? PatternImage() : OldMemory().first(848);
            QCOMPARE(r.host.keptImages[i], expected);
        }
        if (backupFirst && direction == Direction::Write)
            QCOMPARE(report.backup, OldMemory().first(848));
        QCOMPARE(report.writeComplete, written);
        QVERIFY(!r.host.job.active());
        QVERIFY(!r.host.job.cancel());
        // The last dialogue's result is counted down as a single one's.
        r.host.job.tick(Timer::Blink);
        QVERIFY(r.host.job.session().busy());
        for (int i = 0; i < 12; ++i)
            r.host.job.tick(Timer::Blink);
        QVERIFY(!r.host.job.session().busy());
    }

    void failures_data() {
        QTest::addColumn<bool>("backupFirst");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<int>("stopAfter"); // frames the radio answers
        QTest::addColumn<bool>("portOpens");
        QTest::addColumn<JobResult>("result");
        QTest::addColumn<QString>("note"); // added to the communication error
        QTest::addColumn<int>("frames");   // write frames sent
        // PROGRAM, identify, ack, then the frames of the step.
        QTest::newRow("backup read fails")
            << true << false << 5 << true << JobResult::CommunicationError
            << QString("The radio could not be read for the backup before writing; nothing was "
                       "written.")
            << 0;
        QTest::newRow("write fails midway")
            << false << false << 8 << true << JobResult::CommunicationError
            << QString("The radio may hold a partly written codeplug: write it again before using "
                       "the radio.")
            << 6;
        // A write is 50 frames with its end request; the read-back's first request is 54th.
        QTest::newRow("read-back fails")
            << false << true << 53 << true << JobResult::CommunicationError
            << QString("The codeplug was written, but reading it back for the check failed: it is "
                       "not verified.")
            << 46;
        QTest::newRow("port does not open for the write")
            << true << true << -1 << false << JobResult::PortLost << QString() << 0;
    }
    void failures() {
        QFETCH(bool, backupFirst);
        QFETCH(bool, verify);
        QFETCH(int, stopAfter);
        QFETCH(bool, portOpens);
        QFETCH(QString, note);
        QFETCH(int, frames);
        Rig r({.stopAfter = stopAfter});
        r.host.portOpens = portOpens;
        QVERIFY(r.start(Direction::Write, {backupFirst, verify}));
        r.host.settle();
        r.host.watchdog(4);
        QCOMPARE(r.host.reports.size(), 1);
        QTEST(r.host.reports.first().result, "result");
        QCOMPARE(int(r.host.framesOf('W').size()), frames);
        QCOMPARE(r.radioUnchanged(), frames == 0);
        if (note.isEmpty()) {
            QVERIFY(r.host.errorText.isEmpty());
            QCOMPARE(
                r.host.job.session().statusText(),
                QStringLiteral("The serial port could not be opened again; the transfer stopped."));
        } else {
            QVERIFY(r.host.errorText.startsWith(
                QStringLiteral("Communication error, please check the intercom model, fault, "
                               "attachment and computer serial choice!")));
            QVERIFY(r.host.errorText.endsWith(note));
        }
        QVERIFY(!r.host.job.session().busy());
        QVERIFY(!r.host.job.active());
    }

    void cancel_data() {
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<bool>("backupFirst");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<int>("stopAfter"); // -1: cancelled in the pause before the next step
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("frames"); // write frames the radio stored
        QTest::addColumn<bool>("partly");
        const auto R = Direction::Read, W = Direction::Write;
        const QString check = QString("Write frequency success; the check was cancelled.");
        QTest::newRow("read, blocks")
            << R << false << false << 7 << QString("Reading cancelled.") << 0 << false;
        QTest::newRow("backup read") << W << true << false << 4 << kUnchanged << 0 << false;
        QTest::newRow("between backup and write")
            << W << true << false << -1 << kUnchanged << 0 << false;
        QTest::newRow("write, before any frame")
            << W << false << false << 2 << kUnchanged << 0 << false;
        QTest::newRow("write, one frame unanswered")
            << W << false << false << 3
            << QString("Writing cancelled; the radio may hold a partly written codeplug!") << 0
            << true;
        QTest::newRow("write, some frames")
            << W << false << false << 8
            << QString("Writing cancelled; the radio may hold a partly written codeplug!") << 5
            << true;
        QTest::newRow("read-back") << W << false << true << 54 << check << 46 << false;
    }
    void cancel() {
        QFETCH(Direction, direction);
        QFETCH(bool, backupFirst);
        QFETCH(bool, verify);
        QFETCH(int, stopAfter);
        QFETCH(int, frames);
        QFETCH(bool, partly);
        Rig r({.stopAfter = stopAfter});
        QVERIFY(r.start(direction, {backupFirst, verify}));
        if (stopAfter < 0)
            r.host.pump(); // without blink ticks a job of several steps waits in the pause
        else
            r.host.settle();
        if (stopAfter < 0)
            QVERIFY(r.host.job.session().showingResult());
        else
            QVERIFY(r.host.job.session().running());
        const int framesBefore = r.radio.framesReceived();
        QVERIFY(r.host.job.cancel());

        QCOMPARE(r.host.reports.size(), 1);
        const link::JobReport& report = r.host.reports.first();
        QCOMPARE(report.result, JobResult::Cancelled);
        QCOMPARE(report.partlyWritten(), partly);
        QTEST(r.host.job.session().statusText(), "status");
        QCOMPARE(r.host.sent.last(), QByteArray("E"));
        QCOMPARE(r.radio.framesReceived(), framesBefore + (stopAfter < 0 ? 0 : 1));
        QVERIFY(r.host.reads.isEmpty());
        QVERIFY(!r.host.job.session().busy());
        // What the radio stored: nothing, some frames, or the whole write.
        QByteArray expected = OldMemory();
        const QList<QByteArray> sent = r.host.framesOf('W');
        for (qsizetype k = 0; k < frames; ++k)
            expected.replace(AddressOf(sent[k]) - 0x10, 16, sent[k].mid(4));
        QCOMPARE(r.radio.memory(), expected);
        // Nothing starts afterwards.
        const qsizetype after = r.host.sent.size();
        for (Timer t : {Timer::Blink, Timer::Watchdog, Timer::Retry})
            for (int i = 0; i < 5; ++i)
                r.host.job.tick(t);
        QCOMPARE(r.host.sent.size(), after);
        QVERIFY(!r.host.job.cancel());
        QCOMPARE(r.host.reports.size(), 1);
    }

    void traceHoldsEveryByte() {
        Rig r({.split = true});
        QVERIFY(r.start(Direction::Write, {true, true}));
        r.host.settle();
        QCOMPARE(r.host.reports.first().result, JobResult::Done);
        const QByteArray trace = r.host.job.trace().text();
        int bad = -1;
        QCOMPARE(TraceBytes(trace, "TX", &bad), r.host.sent.join());
        QCOMPARE(bad, 0);
        QCOMPARE(TraceBytes(trace, "RX"), r.host.replies);
        QVERIFY(trace.startsWith("# TR-640 serial trace, "));
        QVERIFY(trace.contains("# write, backup first, verify\n"));
        for (const char* step : {"backup read before writing: read done", "write: write done",
                                 "read-back for verification: read done"})
            QVERIFY2(trace.contains(step), step);
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
};

QTEST_GUILESS_MAIN(TestLinkJob)
#include "tst_link_job.moc"
