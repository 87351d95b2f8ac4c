// Whole transfers over a pseudo-terminal: the session on QSerialPort through SerialLink, the
// simulated radio on the master side, all in this process. The test ticks the timers.

#include "LinkTestSupport.h"
#include "PseudoTerminal.h"
#include "RadioServer.h"
#include "link/SerialLink.h"

#include <QTest>

using namespace tr640;
using namespace tr640::test;

namespace {

struct Bench {
    explicit Bench(sim::RadioFaults faults = {}) : radio(0x33, faults) {
        QString error;
        if (!pty.open(&error))
            qWarning() << error;
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         &sim::RadioServer::feed);
        QObject::connect(&serial, &link::SerialLink::bytesReceived, &serial,
                         [this](const QByteArray& b) { host.session.receive(b); });
        host.wire = [this](const QByteArray& f) { serial.write(f); };
        host.onClose = [this] { serial.close(); };
    }
    bool start(Direction d) {
        const link::PortOpenResult r = serial.open(pty.slavePath());
        if (!r.ok())
            qWarning() << r.detail;
        return r.ok() && host.session.start(d);
    }

    sim::RadioModel radio;
    sim::PseudoTerminal pty;
    sim::RadioServer server{radio, [this](const QByteArray& b) { pty.write(b); }};
    link::SerialLink serial;
    FakeHost host;
};

} // namespace

class TestLinkPty : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullRead() {
        Bench b;
        b.radio.setMemory(PatternImage(1024));
        QVERIFY(b.start(Direction::Read));
        QTRY_COMPARE(b.host.ended, QList<Outcome>{Outcome::ReadDone});
        QCOMPARE(b.host.reads, QList<QString>{BytesToImageHex(PatternImage(1024))});
        QVERIFY(!b.serial.isOpen());
    }

    void fullWrite() {
        Bench b;
        QVERIFY(b.start(Direction::Write));
        QTRY_COMPARE(b.host.ended, QList<Outcome>{Outcome::WriteDone});
        QTRY_COMPARE(b.radio.completedWrites(), 1); // the end request has arrived
        const QByteArray image = PatternImage(), memory = b.radio.image();
        const QByteArray erased(0x38, '\xFF');
        QCOMPARE(memory.first(0x170), image.first(0x170));
        QCOMPARE(memory.mid(0x170, 0x38), erased); // calibration block and gap
        QCOMPARE(memory.mid(0x1A8, 16), image.mid(0x1A8, 16));
        QCOMPARE(memory.mid(0x1B8, 0x38), erased);
        QCOMPARE(memory.mid(0x1F0), image.mid(0x1F0));
    }

    void silentRadio() {
        Bench b({.silent = true});
        QVERIFY(b.start(Direction::Read));
        QTRY_COMPARE(b.radio.framesReceived(), 1);
        b.host.ticks(Timer::Retry, 3);
        QTRY_COMPARE(b.radio.framesReceived(), 2); // PROGRAM once more
        b.host.ticks(Timer::Watchdog, 4);
        QCOMPARE(b.host.errors, 1);
        QTRY_COMPARE(b.radio.framesReceived(), 3); // the end request
        QVERIFY(b.serial.isOpen());
        QVERIFY(!b.host.session.busy());
    }

    void radioStopsMidTransfer() {
        Bench b({.stopAfter = 10});
        QVERIFY(b.start(Direction::Read));
        QTRY_COMPARE(b.radio.framesReceived(), 11); // the first frame left unanswered
        b.host.ticks(Timer::Watchdog, 3);
        QVERIFY(b.host.ended.isEmpty());
        b.host.session.tick(Timer::Watchdog);
        QCOMPARE(b.host.ended, QList<Outcome>{Outcome::CommunicationError});
        QVERIFY(b.host.reads.isEmpty());
        QVERIFY(b.serial.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestLinkPty)
#include "tst_link_pty.moc"
