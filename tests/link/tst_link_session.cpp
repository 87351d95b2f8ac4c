// The transfer state machine against scripted bytes and against the radio model.

#include "LinkTestSupport.h"
#include "link/Frames.h"

#include <QTest>

using namespace tr640;
using namespace tr640::test;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

const char kAck = 0x06;

QByteArray DataFrame(int address, const QByteArray& data, char length = 0x40) {
    QByteArray f = Bytes({'W', address >> 8, address & 0xFF});
    f.append(length);
    f.append(data);
    return f;
}

// Addresses of a complete write, listed range by range.
QList<int> WriteAddresses(bool calibration) {
    QList<int> a;
    for (int x = 0x0010; x <= 0x0170; x += 16)
        a.append(x);
    if (calibration)
        a.append(0x0180);
    a.append(0x01B8);
    for (int x = 0x0200; x <= 0x0350; x += 16)
        a.append(x);
    return a;
}

void TickTimes(FakeHost& h, Timer t, int n) {
    for (int i = 0; i < n; ++i)
        h.session.tick(t);
}

} // namespace

class TestTransferSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handshake_data();
    void handshake();
    void unlistedCodeKeepsBand();
    void readDialogue_data();
    void readDialogue();
    void writeDialogue_data();
    void writeDialogue();
    void bandCheck_data();
    void bandCheck();
    void bandQuestionHoldsWatchdog();
    void programRepeat();
    void watchdog();
    void dataFrameAcceptance_data();
    void dataFrameAcceptance();
    void incompleteReadNeverDecoded_data();
    void incompleteReadNeverDecoded();
    void countdownAfterSuccess();
};

void TestTransferSession::handshake_data() {
    QTest::addColumn<QList<QByteArray>>("events");
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("band");
    QTest::addColumn<QByteArray>("lastSent");
    QTest::addColumn<int>("sentCount");

    const QByteArray ack(1, kAck);
    const QByteArray identify(1, 0x02);
    const QByteArray program("PROGRAM");
    QTest::newRow("ack") << QList<QByteArray>{ack} << 1 << 0 << identify << 2;
    QTest::newRow("noise and ack in one event")
        << QList{Bytes({0xFF, 0x06})} << 1 << 0 << identify << 2;
    QTest::newRow("noise, then ack") << QList{Bytes({0xFF}), ack} << 1 << 0 << identify << 2;
    QTest::newRow("hex text 06 across bytes")
        << QList{Bytes({0x30, 0x61})} << 1 << 0 << program << 1;
    QTest::newRow("M5116 band 01") << QList{ack, Ident("M5116", 0x01)} << 0 << 5 << ack << 3;
    QTest::newRow("M6116 band 73") << QList{ack, Ident("M6116", 0x73)} << 0 << 6 << ack << 3;
    QTest::newRow("unlisted code") << QList{ack, Ident("M6116", 0x00)} << 0 << 0 << ack << 3;
    QTest::newRow("identification without ack")
        << QList{Ident("M6116", 0x43)} << 0 << 2 << ack << 2;
    QTest::newRow("identification in pieces")
        << QList{ack, QByteArray("M51"), Bytes({'1', '6', 0x01}), Bytes({0, 0})} << 0 << 5 << ack
        << 3;
    QTest::newRow("seven bytes wait")
        << QList{ack, Ident("M5116", 0x01).first(7)} << 1 << 0 << identify << 2;
    QTest::newRow("nine bytes never")
        << QList{ack, Ident("M5116", 0x01) + '\0'} << 1 << 0 << identify << 2;
    QTest::newRow("model text at byte 1")
        << QList{ack, Bytes({0xFF, 'M', '6', '1', '1', '6', 0x01, 0})} << 0 << 0 << ack << 3;
    QTest::newRow("model text off the byte boundary")
        << QList{ack, Bytes({0x14, 0xD3, 0x63, 0x13, 0x13, 0x60, 0x33, 0})} << 1 << 0 << identify
        << 2;
    QTest::newRow("identification holding 0x06 is an ack")
        << QList{ack, Bytes({'M', '6', '1', '1', '6', 0x33, 0x06, 0})} << 1 << 0 << identify << 3;
}

void TestTransferSession::handshake() {
    QFETCH(QList<QByteArray>, events);
    FakeHost h;
    QVERIFY(h.session.start(Direction::Read));
    QCOMPARE(h.sent, QList<QByteArray>{QByteArray("PROGRAM")});
    for (const QByteArray& e : events)
        h.feed(e);
    QTEST(h.session.TransferStage(), "stage");
    QTEST(h.session.RadioBandIndex(), "band");
    QTEST(h.sent.last(), "lastSent");
    QTEST(int(h.sent.size()), "sentCount");
    const bool accepted = h.session.TransferStage() == 0;
    QCOMPARE(h.session.progressVisible(), accepted);
    QCOMPARE(h.session.isTimerActive(Timer::Retry), h.sent.size() == 1);
    if (accepted) {
        QCOMPARE(h.session.BlockAddress(), 0x0010);
        QCOMPARE(h.session.OutgoingImageHex(), h.image);
    }
}

void TestTransferSession::unlistedCodeKeepsBand() {
    FakeHost h;
    for (char code : {char(0x01), char(0x00)}) {
        QVERIFY(h.session.start(Direction::Read));
        h.feed(QByteArray(1, kAck));
        h.feed(Ident("M5116", code));
        QCOMPARE(h.session.TransferStage(), 0);
        QCOMPARE(h.session.RadioBandIndex(), 5);
        TickTimes(h, Timer::Watchdog, 4);
        QVERIFY(!h.session.busy());
    }
}

void TestTransferSession::readDialogue_data() {
    QTest::addColumn<int>("delivery");
    QTest::addColumn<bool>("split");
    QTest::addColumn<bool>("garbage");
    QTest::newRow("as sent") << int(Delivery::AsSent) << false << false;
    QTest::newRow("byte by byte") << int(Delivery::ByteByByte) << false << false;
    QTest::newRow("replies in pieces") << int(Delivery::AsSent) << true << false;
    QTest::newRow("noise and ack joined") << int(Delivery::Joined) << false << true;
}

void TestTransferSession::readDialogue() {
    QFETCH(int, delivery);
    sim::RadioFaults faults;
    QFETCH(bool, split);
    QFETCH(bool, garbage);
    faults.split = split;
    faults.garbage = garbage;
    sim::RadioModel radio(0x01, faults);
    radio.setMemory(PatternImage(1024));
    FakeHost h;
    h.radio = &radio;
    h.delivery = Delivery(delivery);
    h.band = 3; // a read takes the radio's band, whatever the selector says
    h.session.setLanguage(1);

    QVERIFY(h.session.start(Direction::Read));
    h.pump();

    const QList<QByteArray> requests = h.framesOf('R');
    QCOMPARE(requests.size(), 16);
    for (int k = 0; k < 16; ++k)
        QCOMPARE(requests[k], link::ReadRequest(0x0010 + 64 * k));
    QCOMPARE(requests[1], Bytes({0x52, 0x00, 0x50, 0x40}));
    QCOMPARE(h.sent.mid(0, 4), (QList<QByteArray>{"PROGRAM", Bytes({2}), Bytes({6}), requests[0]}));
    QCOMPARE(h.sent.last(), QByteArray("E"));
    QCOMPARE(h.session.IncomingImageHex(), BytesToImageHex(PatternImage(1024)));
    QCOMPARE(h.reads, QList<QString>{h.session.IncomingImageHex()});
    QCOMPARE(h.readBand, 5);
    QCOMPARE(h.ended, QList<Outcome>{Outcome::ReadDone});
    QCOMPARE(h.closed, 1);
    QCOMPARE(h.session.progressValue(), 425);
    QVERIFY(!h.session.progressVisible());
    QCOMPARE(h.session.statusText(), QStringLiteral("Read frequency success!"));
    QVERIFY(!h.session.isTimerActive(Timer::Watchdog));
    QVERIFY(h.session.isTimerActive(Timer::Blink));
    QVERIFY(h.session.busy());
}

void TestTransferSession::writeDialogue_data() {
    QTest::addColumn<bool>("calibration");
    QTest::newRow("without calibration") << false;
    QTest::newRow("with calibration") << true;
}

void TestTransferSession::writeDialogue() {
    QFETCH(bool, calibration);
    sim::RadioModel radio(0x33);
    FakeHost h;
    h.radio = &radio;
    h.session.setCalibrationWrite(calibration);
    QVERIFY(h.session.start(Direction::Write));
    h.pump();

    const QByteArray image = PatternImage();
    const QList<QByteArray> frames = h.framesOf('W');
    const QList<int> addresses = WriteAddresses(calibration);
    QCOMPARE(frames.size(), calibration ? 47 : 46);
    for (qsizetype k = 0; k < frames.size(); ++k) {
        const int a = addresses[k];
        QCOMPARE(frames[k], Bytes({'W', a >> 8, a & 0xFF, 0x10}) + image.mid(a - 0x10, 16));
    }
    // Written ranges hold the image; everything else keeps the erased radio's 0xFF.
    QByteArray expected(1024, '\xFF');
    for (int a : addresses)
        expected.replace(a - 0x10, 16, image.mid(a - 0x10, 16));
    QCOMPARE(radio.memory(), expected);
    QCOMPARE(h.ended, QList<Outcome>{Outcome::WriteDone});
    QCOMPARE(h.sent.last(), QByteArray("E"));
    QCOMPARE(h.closed, 1);
    QCOMPARE(h.session.progressValue(), 460);
    QCOMPARE(h.session.statusText(), QString::fromUtf8("写频成功！"));
}

void TestTransferSession::bandCheck_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("status");
    const QString refused = QStringLiteral("Frequency band with discrepancies, do not write.");
    const QString question =
        QStringLiteral("Frequency band with discrepancies, do you wish to continue?");
    const QString success = QStringLiteral("Write frequency success!");
    QTest::newRow("same band") << 0 << false << false << int(Outcome::WriteDone) << 0 << success;
    QTest::newRow("mismatch") << 5 << false << true << int(Outcome::BandRefused) << 0 << refused;
    QTest::newRow("service, Yes") << 5 << true << true << int(Outcome::WriteDone) << 1 << success;
    QTest::newRow("service, No") << 5 << true << false << int(Outcome::BandDeclined) << 1
                                 << question;
}

void TestTransferSession::bandCheck() {
    QFETCH(int, selected);
    QFETCH(bool, service);
    QFETCH(bool, answer);
    QFETCH(int, outcome);
    sim::RadioModel radio(0x33);
    FakeHost h;
    h.radio = &radio;
    h.band = selected;
    h.answer = answer;
    h.session.setLanguage(1);
    h.session.setServiceMode(service);
    QVERIFY(h.session.start(Direction::Write));
    h.pump();

    QTEST(h.questions, "questions");
    QTEST(h.session.statusText(), "status");
    QCOMPARE(h.ended, QList<Outcome>{Outcome(outcome)});
    QCOMPARE(h.framesOf('W').size(), outcome == int(Outcome::WriteDone) ? 46 : 0);
    QCOMPARE(h.sent.last(), QByteArray("E"));
    QCOMPARE(h.closed, 1);
    QCOMPARE(h.session.RadioBandIndex(), selected);
    if (outcome != int(Outcome::WriteDone))
        QCOMPARE(radio.memory(), QByteArray(1024, '\xFF'));
}

void TestTransferSession::bandQuestionHoldsWatchdog() {
    FakeHost h;
    h.band = 2;
    h.session.setServiceMode(true);
    QVERIFY(h.session.start(Direction::Write));
    h.feed(QByteArray(1, kAck));
    h.feed(Ident("M6116", 0x33));
    qsizetype sentBefore = 0;
    h.duringModal = [&] {
        sentBefore = h.sent.size();
        QVERIFY(!h.session.isTimerActive(Timer::Watchdog));
        TickTimes(h, Timer::Watchdog, 6);
        h.session.receive(QByteArray(1, kAck));
        QCOMPARE(h.sent.size(), sentBefore);
        QCOMPARE(h.session.RxHex(), QStringLiteral("0606"));
    };
    h.feed(QByteArray(1, kAck));
    QCOMPARE(h.questions, 1);
    QCOMPARE(h.errors, 0);
    QCOMPARE(h.sent.size(), sentBefore + 1);
    QCOMPARE(AddressOf(h.sent.last()), 0x0010);
    QVERIFY(h.session.isTimerActive(Timer::Watchdog));
    h.feed(QByteArray(1, kAck)); // later acknowledgements do not ask again
    QCOMPARE(h.questions, 1);
    QCOMPARE(AddressOf(h.sent.last()), 0x0020);
}

void TestTransferSession::programRepeat() {
    FakeHost h;
    QVERIFY(h.session.start(Direction::Read));
    TickTimes(h, Timer::Retry, 2);
    QCOMPARE(h.sent.size(), 1);
    h.session.receive(QByteArray(1, char(0xFF)));
    h.session.tick(Timer::Retry);
    QCOMPARE(h.sent, (QList<QByteArray>{"PROGRAM", "PROGRAM"}));
    QVERIFY(h.session.RxHex().isEmpty());
    QVERIFY(!h.session.isTimerActive(Timer::Retry));
    TickTimes(h, Timer::Retry, 5);
    QCOMPARE(h.sent.size(), 2);
    TickTimes(h, Timer::Watchdog, 4);

    // An acknowledgement stops the repeat but leaves its count for the next transfer.
    QVERIFY(h.session.start(Direction::Read));
    TickTimes(h, Timer::Retry, 2);
    h.feed(QByteArray(1, kAck));
    QVERIFY(!h.session.isTimerActive(Timer::Retry));
    QCOMPARE(h.session.RetryTicks(), 2);
    TickTimes(h, Timer::Watchdog, 4);
    QVERIFY(h.session.start(Direction::Read));
    const qsizetype before = h.sent.size();
    h.session.tick(Timer::Retry);
    QCOMPARE(h.sent.size(), before + 1);
    QCOMPARE(h.sent.last(), QByteArray("PROGRAM"));
}

void TestTransferSession::watchdog() {
    FakeHost h;
    h.session.setLanguage(0);
    QVERIFY(h.session.start(Direction::Read));
    TickTimes(h, Timer::Watchdog, 3);
    h.feed(QByteArray(1, kAck)); // a recognised reply starts the count again
    TickTimes(h, Timer::Watchdog, 3);
    QCOMPARE(h.errors, 0);
    QVERIFY(h.session.busy());
    h.duringModal = [&] {
        QVERIFY(!h.session.isTimerActive(Timer::Watchdog));
        QVERIFY(!h.session.isTimerActive(Timer::Blink));
        h.session.receive(Ident("M6116", 0x33)); // would be accepted in the handshake
    };
    const qsizetype before = h.sent.size();
    h.session.tick(Timer::Watchdog);
    QCOMPARE(h.errors, 1);
    QCOMPARE(h.stageAtError, 10);
    QCOMPARE(h.sent.size(), before + 1);
    QCOMPARE(h.sent.last(), QByteArray("E"));
    QCOMPARE(h.closed, 0);
    QCOMPARE(h.ended, QList<Outcome>{Outcome::CommunicationError});
    QVERIFY(!h.session.busy());
    QVERIFY(!h.session.statusVisible());
    QVERIFY(!h.session.progressVisible());
    QVERIFY(h.session.RxHex().isEmpty());
    for (Timer t : {Timer::Watchdog, Timer::Blink, Timer::Retry})
        QVERIFY(!h.session.isTimerActive(t));
    h.feed(QByteArray(1, kAck)); // stage 10 ignores late bytes
    QCOMPARE(h.sent.size(), before + 1);
}

void TestTransferSession::dataFrameAcceptance_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("accepted");
    const QByteArray data = PatternImage(64);
    QTest::newRow("exact") << DataFrame(0x0050, data) << true;
    QTest::newRow("length byte not examined") << DataFrame(0x0050, data, 0) << true;
    QTest::newRow("other address") << DataFrame(0x0090, data) << false;
    QTest::newRow("one byte short") << DataFrame(0x0050, data.first(63)) << false;
    QTest::newRow("one byte long") << DataFrame(0x0050, data + 'x') << false;
    QTest::newRow("not a data frame")
        << QByteArray("X").append(DataFrame(0x0050, data).mid(1)) << false;
}

void TestTransferSession::dataFrameAcceptance() {
    QFETCH(QByteArray, frame);
    QFETCH(bool, accepted);
    FakeHost h;
    QVERIFY(h.session.start(Direction::Read));
    h.feed(QByteArray(1, kAck));
    h.feed(Ident("M6116", 0x33));
    h.feed(QByteArray(1, kAck));
    h.feed(DataFrame(0x0010, QByteArray(64, 'a')));
    h.feed(QByteArray(1, kAck));
    QCOMPARE(h.sent.last(), Bytes({0x52, 0x00, 0x50, 0x40}));
    // A frame may arrive in two events.
    h.feed(frame.first(10));
    h.feed(frame.mid(10));
    QCOMPARE(h.sent.last() == QByteArray(1, kAck), accepted);
    QCOMPARE(h.session.IncomingImageHex().size(), accepted ? 256 : 128);
}

void TestTransferSession::incompleteReadNeverDecoded_data() {
    QTest::addColumn<bool>("frames");
    QTest::addColumn<int>("twice");
    QTest::addColumn<int>("skipped");
    QTest::newRow("acknowledgements only") << false << -1 << -1;
    // 16 frames in all, but 0x0010 twice and 0x0050 never: everything after would shift.
    QTest::newRow("a block twice, the next one missing") << true << 0x0010 << 0x0050;
}

void TestTransferSession::incompleteReadNeverDecoded() {
    QFETCH(bool, frames);
    QFETCH(int, twice);
    QFETCH(int, skipped);
    FakeHost h;
    QVERIFY(h.session.start(Direction::Read));
    h.feed(QByteArray(1, kAck));
    h.feed(Ident("M6116", 0x33));
    for (int k = 0; k <= 16; ++k) {
        h.feed(QByteArray(1, kAck)); // the radio's acknowledgement, or a stray one
        const int requested = h.session.BlockAddress() - 64;
        if (!frames || requested == skipped || k == 16)
            continue;
        h.feed(DataFrame(requested, PatternImage(64)));
        if (requested == twice)
            h.feed(DataFrame(requested, PatternImage(64)));
    }
    QVERIFY(h.reads.isEmpty());
    QVERIFY(h.ended.isEmpty());
    TickTimes(h, Timer::Watchdog, 4);
    QCOMPARE(h.ended, QList<Outcome>{Outcome::CommunicationError});
}

void TestTransferSession::countdownAfterSuccess() {
    sim::RadioModel radio(0x33);
    FakeHost h;
    h.radio = &radio;
    QVERIFY(h.session.start(Direction::Write));
    h.pump();
    QVERIFY(h.session.TransferDone());
    const qsizetype sent = h.sent.size();
    for (int i = 1; i <= 11; ++i) {
        const bool visible = h.session.statusVisible();
        h.session.tick(Timer::Blink);
        QCOMPARE(h.session.statusVisible(), !visible);
        QVERIFY(h.session.busy());
        QVERIFY(!h.session.start(Direction::Read)); // the commands are disabled
    }
    h.session.tick(Timer::Blink);
    QVERIFY(!h.session.busy());
    QVERIFY(!h.session.statusVisible());
    QVERIFY(!h.session.TransferDone());
    QCOMPARE(h.session.DoneTicks(), 0);
    QVERIFY(!h.session.isTimerActive(Timer::Blink));
    QCOMPARE(h.sent.size(), sent);
}

QTEST_GUILESS_MAIN(TestTransferSession)
#include "tst_link_session.moc"
