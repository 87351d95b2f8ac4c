// The transfer state machine against scripted bytes and ticks: handshake, PROGRAM repeat,
// watchdog, data frames, the band question, incomplete reads, cancel and proceed.

#include "LinkTestSupport.h"

#include <QTest>

using namespace tr640;
using namespace tr640::test;

namespace {

QByteArray DataFrame(int address, const QByteArray& data, int length = 0x40) {
    return Bytes({'W', address >> 8, address & 0xFF, length}) + data;
}

void Identified(LinkHost& h, Direction d) {
    QVERIFY(h.session.start(d));
    h.feed(Ack());
    h.feed(Ident("M6116", 0x33));
    QCOMPARE(h.session.TransferStage(), 0);
}

// Events of a script that are not bytes from the radio.
const QByteArray kRetry("<retry tick>"), kWatchdog("<watchdog tick>"), kBlink("<blink tick>"),
    kStart("<start a read>"), kRadio("<the radio model answers>"),
    kQuestion("<a write up to its band question>");

void Play(LinkHost& h, sim::RadioModel& radio, const QList<QByteArray>& events) {
    for (const QByteArray& e : events) {
        if (e == kRetry || e == kWatchdog || e == kBlink) {
            h.session.tick(e == kRetry   ? Timer::Retry
                           : e == kBlink ? Timer::Blink
                                         : Timer::Watchdog);
        } else if (e == kStart) {
            QVERIFY(h.session.start(Direction::Read));
        } else if (e == kRadio) {
            h.radio = &radio;
        } else if (e == kQuestion) {
            h.band = 2;
            h.session.setServiceMode(true);
            Identified(h, Direction::Write);
            h.feed(Ack()); // the question opens here; duringModal acts inside it
        } else {
            h.receive(e);
        }
        h.pump();
    }
}

} // namespace

class TestLinkSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void script_data() {
        QTest::addColumn<QList<QByteArray>>("events"); // after the start of a read
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("band");
        QTest::addColumn<QByteArray>("lastSent");
        QTest::addColumn<int>("sentCount");
        QTest::addColumn<bool>("failed"); // the watchdog ended a transfer
        const QByteArray identify(1, 0x02), program("PROGRAM"), R = kRetry, W = kWatchdog;
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        row("ack") << QList{Ack()} << 1 << 0 << identify << 2 << false;
        row("hex text 06 across bytes")
            << QList{Bytes({0x30, 0x61})} << 1 << 0 << program << 1 << false;
        row("M5116 band 01") << QList{Ack(), Ident("M5116", 0x01)} << 0 << 5 << Ack() << 3 << false;
        row("unlisted code keeps the band met before")
            << QList{Ack(), Ident("M5116", 1), W, W, W, W, kStart, Ack(), Ident("M5116", 0)} << 0
            << 5 << Ack() << 7 << true;
        row("identification without ack")
            << QList{Ident("M6116", 0x43)} << 0 << 2 << Ack() << 2 << false;
        row("identification in pieces")
            << QList{Ack(), QByteArray("M51"), Bytes({'1', '6', 1}), Bytes({0, 0})} << 0 << 5
            << Ack() << 3 << false;
        row("seven bytes wait") << QList{Ack(), Ident("M5116", 1).first(7)} << 1 << 0 << identify
                                << 2 << false;
        row("model text at byte 1") << QList{Ack(), Bytes({0xFF, 'M', '6', '1', '1', '6', 1, 0})}
                                    << 0 << 0 << Ack() << 3 << false;
        row("model text off the byte boundary")
            << QList{Ack(), Bytes({0x14, 0xD3, 0x63, 0x13, 0x13, 0x60, 0x33, 0})} << 1 << 0
            << identify << 2 << false;
        row("identification holding 0x06 is an ack")
            << QList{Ack(), Bytes({'M', '6', '1', '1', '6', 0x33, 0x06, 0})} << 1 << 0 << identify
            << 3 << false;
        row("two retry ticks wait") << QList{R, R} << 1 << 0 << program << 1 << false;
        row("PROGRAM again on the third, noise dropped")
            << QList{R, R, Bytes({0xFF}), R} << 1 << 0 << program << 2 << false;
        row("PROGRAM again once only")
            << QList<QByteArray>(8, R) << 1 << 0 << program << 2 << false;
        row("an ack stops the repeat, whose count stays")
            << QList{R, R, Ack(), W, W, W, W, kStart, R} << 1 << 0 << program << 5 << true;
        row("a reply restarts the watchdog")
            << QList{W, W, W, Ack(), W, W, W} << 1 << 0 << identify << 2 << false;
        row("the watchdog's fourth tick")
            << QList{W, W, W, Ack(), W, W, W, W} << 10 << 0 << QByteArray("E") << 3 << true;
        // The second data frame of a read, in two pieces.
        const QList<QByteArray> reading{Ack(), Ident("M6116", 0x33), Ack(),
                                        DataFrame(0x0010, QByteArray(64, 'a')), Ack()};
        const auto second = [&](const QByteArray& f) {
            return reading + QList{f.first(10), f.mid(10)};
        };
        const QByteArray data = PatternImage(64), request = Bytes({'R', 0x00, 0x50, 0x40});
        row("data frame") << second(DataFrame(0x0050, data)) << 0 << 0 << Ack() << 7 << false;
        row("data frame, length byte not examined")
            << second(DataFrame(0x0050, data, 0)) << 0 << 0 << Ack() << 7 << false;
        row("data frame of another address")
            << second(DataFrame(0x0090, data)) << 0 << 0 << request << 6 << false;
        row("data frame one byte short")
            << second(DataFrame(0x0050, data.first(63))) << 0 << 0 << request << 6 << false;
    }
    void script() {
        QFETCH(QList<QByteArray>, events);
        QFETCH(int, stage);
        QFETCH(bool, failed);
        LinkHost h;
        h.duringModal = [&] { // the error box
            QVERIFY(!h.session.isTimerActive(Timer::Blink));
            h.session.receive(Ident("M6116", 0x33)); // would pass in the handshake
        };
        QCOMPARE((QList{link::TimerInterval(Timer::Watchdog), link::TimerInterval(Timer::Blink),
                        link::TimerInterval(Timer::Retry)}),
                 (QList{1000, 200, 500}));
        QVERIFY(h.session.start(Direction::Read));
        QCOMPARE(h.sent, QList<QByteArray>{"PROGRAM"});
        sim::RadioModel radio;
        Play(h, radio, events);
        QCOMPARE(h.session.TransferStage(), stage);
        QTEST(h.session.RadioBandIndex(), "band");
        QTEST(h.sent.last(), "lastSent");
        QTEST(int(h.sent.size()), "sentCount");
        QCOMPARE(h.ended, failed ? QList{Outcome::CommunicationError} : QList<Outcome>{});
        QCOMPARE(h.errors, failed ? 1 : 0);
        QCOMPARE(h.closed, 0);
        QCOMPARE(h.session.progressVisible(), stage == 0);
        QCOMPARE(h.session.isTimerActive(Timer::Retry), h.sent.size() == 1);
        if (stage == 0)
            QCOMPARE(h.session.OutgoingImageHex(), h.image);
        if (h.sent.size() > 1 && h.sent.last() == "PROGRAM") // the repeat drops what came before
            QVERIFY(h.session.RxHex().isEmpty());
        if (stage != 10)
            return;
        QCOMPARE(h.stageAtError, 10);
        QVERIFY(!h.session.busy());
        QVERIFY(!h.session.statusVisible());
        QVERIFY(h.session.RxHex().isEmpty());
        for (Timer t : {Timer::Watchdog, Timer::Blink, Timer::Retry})
            QVERIFY(!h.session.isTimerActive(t));
        h.feed(Ack()); // stage 10 ignores late bytes
        QCOMPARE(h.sent.size(), 3);
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
        QTest::addColumn<QList<QByteArray>>("events"); // before the command
        QTest::addColumn<bool>("cancel");              // or proceed with a read
        QTest::addColumn<bool>("accepted");
        const QList<QByteArray> read{kRadio, kStart}, W(4, kWatchdog), countdown(12, kBlink);
        QTest::newRow("cancel when idle") << QList<QByteArray>{} << true << false;
        QTest::newRow("cancel in the handshake") << QList{kStart} << true << true;
        QTest::newRow("cancel with the band question open") << QList{kQuestion} << true << true;
        QTest::newRow("cancel in the result countdown") << read << true << true;
        QTest::newRow("proceed after a read") << read << false << true;
        QTest::newRow("proceed while running") << QList{kStart} << false << false;
        QTest::newRow("proceed after a watchdog failure") << QList{kStart} + W << false << false;
        QTest::newRow("proceed after the countdown") << read + countdown << false << false;
    }
    void cancelOrProceed() {
        QFETCH(QList<QByteArray>, events);
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
        const bool question = events.contains(kQuestion);
        if (question)
            h.duringModal = act;
        Play(h, radio, events);
        if (!question)
            act();
        QTEST(accepted, "accepted");
        // A running dialogue is ended: the end request, nothing else; proceeding sends PROGRAM.
        const bool ends = cancel && (question || events == QList{kStart});
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
