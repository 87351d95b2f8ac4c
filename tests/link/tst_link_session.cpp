// The transfer state machine against scripted bytes: handshake, timers, frames, cancel, proceed.

#include "LinkTestSupport.h"

#include <QTest>

using namespace tr640;
using namespace tr640::test;

namespace {

QByteArray DataFrame(int address, const QByteArray& data, int length = 0x40) {
    return Bytes({'W', address >> 8, address & 0xFF, length}) + data;
}

// A session whose identification has been accepted.
void Identified(LinkHost& h, Direction d) {
    QVERIFY(h.session.start(d));
    h.feed(Ack());
    h.feed(Ident("M6116", 0x33));
    QCOMPARE(h.session.TransferStage(), 0);
}

// Where a session is when cancel() or proceed() comes.
enum class At { Idle, Handshake, BandQuestion, Result, Failed, Expired };

// Brings a session with a radio behind it to `at`.
void Reach(LinkHost& h, sim::RadioModel& radio, At at) {
    switch (at) {
    case At::Idle:
        return;
    case At::Handshake:
        QVERIFY(h.session.start(Direction::Read));
        return;
    case At::BandQuestion:
        h.band = 2;
        h.session.setServiceMode(true);
        Identified(h, Direction::Write);
        h.feed(Ack()); // the question opens here; duringModal acts inside it
        return;
    case At::Result:
    case At::Expired:
        h.radio = &radio;
        QVERIFY(h.session.start(Direction::Read));
        h.pump();
        if (at == At::Expired)
            h.ticks(Timer::Blink, 12);
        return;
    case At::Failed:
        QVERIFY(h.session.start(Direction::Read));
        h.ticks(Timer::Watchdog, 4);
        return;
    }
}

} // namespace

class TestLinkSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handshake_data() {
        QTest::addColumn<QList<QByteArray>>("events");
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("band");
        QTest::addColumn<QByteArray>("lastSent");
        QTest::addColumn<int>("sentCount");
        const QByteArray identify(1, 0x02), program("PROGRAM");
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        row("ack") << QList{Ack()} << 1 << 0 << identify << 2;
        row("hex text 06 across bytes") << QList{Bytes({0x30, 0x61})} << 1 << 0 << program << 1;
        row("M5116 band 01") << QList{Ack(), Ident("M5116", 0x01)} << 0 << 5 << Ack() << 3;
        row("unlisted code") << QList{Ack(), Ident("M6116", 0x00)} << 0 << 0 << Ack() << 3;
        row("identification without ack") << QList{Ident("M6116", 0x43)} << 0 << 2 << Ack() << 2;
        row("identification in pieces")
            << QList{Ack(), QByteArray("M51"), Bytes({'1', '6', 1}), Bytes({0, 0})} << 0 << 5
            << Ack() << 3;
        row("seven bytes wait") << QList{Ack(), Ident("M5116", 1).first(7)} << 1 << 0 << identify
                                << 2;
        row("model text at byte 1")
            << QList{Ack(), Bytes({0xFF, 'M', '6', '1', '1', '6', 1, 0})} << 0 << 0 << Ack() << 3;
        row("model text off the byte boundary")
            << QList{Ack(), Bytes({0x14, 0xD3, 0x63, 0x13, 0x13, 0x60, 0x33, 0})} << 1 << 0
            << identify << 2;
        row("identification holding 0x06 is an ack")
            << QList{Ack(), Bytes({'M', '6', '1', '1', '6', 0x33, 0x06, 0})} << 1 << 0 << identify
            << 3;
    }
    void handshake() {
        QFETCH(QList<QByteArray>, events);
        LinkHost h;
        QVERIFY(h.session.start(Direction::Read));
        QCOMPARE(h.sent, QList<QByteArray>{"PROGRAM"});
        for (const QByteArray& e : events)
            h.feed(e);
        QTEST(h.session.TransferStage(), "stage");
        QTEST(h.session.RadioBandIndex(), "band");
        QTEST(h.sent.last(), "lastSent");
        QTEST(int(h.sent.size()), "sentCount");
        const bool accepted = h.session.TransferStage() == 0;
        QCOMPARE(h.session.progressVisible(), accepted);
        QCOMPARE(h.session.isTimerActive(Timer::Retry), h.sent.size() == 1);
        if (accepted)
            QCOMPARE(h.session.OutgoingImageHex(), h.image);
    }

    void unlistedCodeKeepsBand() { // the band of the radio met before stays
        LinkHost h;
        for (int code : {0x01, 0x00}) {
            QVERIFY(h.session.start(Direction::Read));
            h.feed(Ack());
            h.feed(Ident("M5116", code));
            QCOMPARE(h.session.RadioBandIndex(), 5);
            h.ticks(Timer::Watchdog, 4);
        }
    }

    void bandQuestionHoldsWatchdog() {
        LinkHost h;
        h.band = 2;
        h.session.setServiceMode(true);
        Identified(h, Direction::Write);
        qsizetype sentBefore = 0;
        h.duringModal = [&] {
            sentBefore = h.sent.size();
            QVERIFY(!h.session.isTimerActive(Timer::Watchdog));
            h.ticks(Timer::Watchdog, 6);
            h.session.receive(Ack());
            QCOMPARE(h.sent.size(), sentBefore);
            QCOMPARE(h.session.RxHex(), QStringLiteral("0606"));
        };
        h.feed(Ack());
        QCOMPARE(h.errors, 0);
        QCOMPARE(h.sent.size(), sentBefore + 1);
        QCOMPARE(AddressOf(h.sent.last()), 0x0010);
        QVERIFY(h.session.isTimerActive(Timer::Watchdog));
        h.feed(Ack()); // later acknowledgements do not ask again
        QCOMPARE(h.questions, 1);
        QCOMPARE(AddressOf(h.sent.last()), 0x0020);
    }

    void programRepeat() {
        LinkHost h;
        QVERIFY(h.session.start(Direction::Read));
        h.ticks(Timer::Retry, 2);
        h.session.receive(Bytes({0xFF}));
        QCOMPARE(h.sent.size(), 1);
        h.session.tick(Timer::Retry);
        QCOMPARE(h.sent, (QList<QByteArray>{"PROGRAM", "PROGRAM"}));
        QVERIFY(h.session.RxHex().isEmpty());
        h.ticks(Timer::Retry, 5); // once only
        QCOMPARE(h.sent.size(), 2);
        h.ticks(Timer::Watchdog, 4);

        // An acknowledgement stops the repeat but leaves its count for the next transfer.
        QVERIFY(h.session.start(Direction::Read));
        h.ticks(Timer::Retry, 2);
        h.feed(Ack());
        QVERIFY(!h.session.isTimerActive(Timer::Retry));
        h.ticks(Timer::Watchdog, 4);
        QVERIFY(h.session.start(Direction::Read));
        h.session.tick(Timer::Retry);
        QCOMPARE(h.sent.last(), QByteArray("PROGRAM"));
        QCOMPARE(h.framesOf('P').size(), 5);
    }

    void watchdog() {
        LinkHost h;
        QVERIFY(h.session.start(Direction::Read));
        h.ticks(Timer::Watchdog, 3);
        h.feed(Ack()); // a recognised reply starts the count again
        h.ticks(Timer::Watchdog, 3);
        QCOMPARE(h.errors, 0);
        h.duringModal = [&] {
            QVERIFY(!h.session.isTimerActive(Timer::Blink));
            h.session.receive(Ident("M6116", 0x33)); // would pass in the handshake
        };
        const qsizetype before = h.sent.size();
        h.session.tick(Timer::Watchdog);
        QCOMPARE(h.errors, 1);
        QCOMPARE(h.stageAtError, 10);
        QCOMPARE(h.sent.mid(before), QList<QByteArray>{"E"});
        QCOMPARE(h.closed, 0);
        QCOMPARE(h.ended, QList<Outcome>{Outcome::CommunicationError});
        QVERIFY(!h.session.busy());
        QVERIFY(!h.session.statusVisible());
        QVERIFY(h.session.RxHex().isEmpty());
        for (Timer t : {Timer::Watchdog, Timer::Blink, Timer::Retry})
            QVERIFY(!h.session.isTimerActive(t));
        h.feed(Ack()); // stage 10 ignores late bytes
        QCOMPARE(h.sent.size(), before + 1);
    }

    void dataFrameAcceptance_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("accepted");
        const QByteArray data = PatternImage(64);
        QTest::newRow("exact") << DataFrame(0x0050, data) << true;
        QTest::newRow("length byte not examined") << DataFrame(0x0050, data, 0) << true;
        QTest::newRow("other address") << DataFrame(0x0090, data) << false;
        QTest::newRow("one byte short") << DataFrame(0x0050, data.first(63)) << false;
    }
    void dataFrameAcceptance() {
        QFETCH(QByteArray, frame);
        QFETCH(bool, accepted);
        LinkHost h;
        Identified(h, Direction::Read);
        h.feed(Ack());
        h.feed(DataFrame(0x0010, QByteArray(64, 'a')));
        h.feed(Ack());
        h.feed(frame.first(10)); // in two events
        h.feed(frame.mid(10));
        QCOMPARE(h.sent.last() == Ack(), accepted);
        QCOMPARE(h.session.IncomingImageHex().size(), accepted ? 256 : 128);
    }

    void incompleteReadNeverDecoded_data() {
        QTest::addColumn<bool>("frames");
        QTest::addColumn<int>("twice");
        QTest::addColumn<int>("missing");
        QTest::newRow("acknowledgements only") << false << -1 << -1;
        // 16 frames in all, but 0x0010 twice and 0x0050 never: everything after would shift.
        QTest::newRow("a block twice, the next one missing") << true << 0x0010 << 0x0050;
    }
    void incompleteReadNeverDecoded() {
        QFETCH(bool, frames);
        QFETCH(int, twice);
        QFETCH(int, missing);
        LinkHost h;
        Identified(h, Direction::Read);
        for (int k = 0; k <= 16; ++k) {
            h.feed(Ack()); // the radio's acknowledgement, or a stray one
            const int requested = h.session.BlockAddress() - 64;
            if (!frames || requested == missing || k == 16)
                continue;
            h.feed(DataFrame(requested, PatternImage(64)));
            if (requested == twice)
                h.feed(DataFrame(requested, PatternImage(64)));
        }
        QVERIFY(h.reads.isEmpty());
        QVERIFY(h.ended.isEmpty());
        h.ticks(Timer::Watchdog, 4);
        QCOMPARE(h.ended, QList<Outcome>{Outcome::CommunicationError});
    }

    void cancelOrProceed_data() {
        QTest::addColumn<At>("at");
        QTest::addColumn<bool>("cancel"); // or proceed with a read
        QTest::addColumn<bool>("accepted");
        QTest::newRow("cancel when idle") << At::Idle << true << false;
        QTest::newRow("cancel in the handshake") << At::Handshake << true << true;
        QTest::newRow("cancel with the band question open") << At::BandQuestion << true << true;
        QTest::newRow("cancel in the result countdown") << At::Result << true << true;
        QTest::newRow("proceed after a read") << At::Result << false << true;
        QTest::newRow("proceed while running") << At::Handshake << false << false;
        QTest::newRow("proceed after a watchdog failure") << At::Failed << false << false;
        QTest::newRow("proceed after the countdown") << At::Expired << false << false;
    }
    void cancelOrProceed() {
        QFETCH(At, at);
        QFETCH(bool, cancel);
        sim::RadioModel radio(0x33);
        LinkHost h;
        h.session.setLanguage(1);
        bool accepted = false;
        qsizetype sentBefore = 0;
        QList<Outcome> endedBefore;
        int closedBefore = 0;
        const auto act = [&] {
            sentBefore = h.sent.size();
            endedBefore = h.ended;
            closedBefore = h.closed;
            accepted = cancel ? h.session.cancel(link::LinkText::ReadCancelled)
                              : h.session.proceed(Direction::Read);
        };
        if (at == At::BandQuestion)
            h.duringModal = act;
        Reach(h, radio, at);
        if (at != At::BandQuestion)
            act();
        QTEST(accepted, "accepted");
        // A running dialogue is ended: the end request, nothing else; proceeding sends PROGRAM.
        const bool ends = cancel && (at == At::Handshake || at == At::BandQuestion);
        QCOMPARE(h.sent.size() - sentBefore, qsizetype(ends || (!cancel && accepted)));
        if (!cancel && accepted) {
            QCOMPARE(h.sent.last(), QByteArray("PROGRAM"));
            QVERIFY(h.session.running());
            QCOMPARE(h.session.TransferDirection(), Direction::Read);
            QCOMPARE(h.session.statusMessage(), link::LinkText::Communicating);
            // The old countdown is gone: the new dialogue runs to its own end.
            h.ticks(Timer::Blink, 12);
            QVERIFY(h.session.busy());
            h.pump();
            QCOMPARE(h.ended.last(), Outcome::ReadDone);
            QCOMPARE(h.reads.size(), 2);
            return;
        }
        QCOMPARE(h.closed, closedBefore + (ends ? 1 : 0));
        QCOMPARE(h.ended, endedBefore + (ends ? QList{Outcome::Cancelled} : QList<Outcome>{}));
        if (ends) {
            QCOMPARE(h.sent.last(), QByteArray("E"));
            QCOMPARE(h.session.outcome(), Outcome::Cancelled);
            QVERIFY(h.framesOf('W').isEmpty());
            QVERIFY(h.reads.isEmpty());
        }
        if (!cancel)
            return;
        if (accepted) {
            QVERIFY(!h.session.busy());
            QCOMPARE(h.session.statusText(), QStringLiteral("Reading cancelled."));
            QVERIFY(h.session.statusVisible());
            for (Timer t : {Timer::Watchdog, Timer::Blink, Timer::Retry})
                QVERIFY(!h.session.isTimerActive(t));
            QVERIFY(!h.session.progressVisible());
        }
        // Nothing more goes out: late bytes, ticks and the answer are ignored.
        const qsizetype after = h.sent.size();
        h.session.receive(Ack());
        h.ticks(Timer::Retry, 3);
        QCOMPARE(h.sent.size(), after);
    }
};

QTEST_GUILESS_MAIN(TestLinkSession)
#include "tst_link_session.moc"
