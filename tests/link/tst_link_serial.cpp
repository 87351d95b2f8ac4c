// The serial adapter: port names, open failures, and whole transfers over a pseudo-terminal
// between QSerialPort and the simulated radio. The session's timers are ticked by the test.

#include "LinkTestSupport.h"
#include "link/SerialLink.h"

#ifdef Q_OS_UNIX
#include "PseudoTerminal.h"
#include "RadioServer.h"
#endif

#include <QTest>
#include <memory>

using namespace tr640;
using namespace tr640::test;
using link::DeviceAccess;
using link::PortError;
using link::SerialLink;

namespace {

#ifdef Q_OS_UNIX
// The radio on the master side of a pseudo-terminal, the session on the slave through
// SerialLink, all in this process.
struct Bench {
    explicit Bench(sim::RadioFaults faults = {}) : radio(0x33, faults) {}

    bool open() {
        QString error;
        if (!pty.open(&error)) {
            qWarning() << error;
            return false;
        }
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         &sim::RadioServer::feed);
        QObject::connect(&serial, &SerialLink::bytesReceived, &serial,
                         [this](const QByteArray& b) { host.session.receive(b); });
        host.wire = [this](const QByteArray& f) { serial.write(f); };
        host.onClose = [this] { serial.close(); };
        const link::PortOpenResult r = serial.open(pty.slavePath());
        if (!r.ok())
            qWarning() << r.detail;
        return r.ok();
    }

    sim::RadioModel radio;
    sim::PseudoTerminal pty;
    sim::RadioServer server{radio, [this](const QByteArray& b) { pty.write(b); }};
    SerialLink serial;
    FakeHost host;
};
#endif

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portNames_data();
    void portNames();
    void openErrors_data();
    void openErrors();
    void missingDevice();
    void fullRead();
    void fullWrite();
    void silentRadio();
    void radioStopsMidTransfer();
};

void TestSerialLink::portNames_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("opened");
#ifdef Q_OS_WIN
    QTest::newRow("COM1") << "COM1"
                          << "COM1";
    QTest::newRow("com8") << "com8"
                          << "COM8";
#else
    QTest::newRow("COM1") << "COM1"
                          << "/dev/ttyS0";
    QTest::newRow("com8") << "com8"
                          << "/dev/ttyS7";
#endif
    QTest::newRow("COM9 is a system name") << "COM9"
                                           << "COM9";
    QTest::newRow("COM10 is a system name") << "COM10"
                                            << "COM10";
    QTest::newRow("a path") << "/dev/ttyUSB0"
                            << "/dev/ttyUSB0";
}

void TestSerialLink::portNames() {
    QFETCH(QString, given);
    QTEST(SerialLink::resolvePortName(given), "opened");
    QCOMPARE(SerialLink::menuPortName(0), QString());
    QCOMPARE(SerialLink::menuPortName(9), QString());
}

void TestSerialLink::openErrors_data() {
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<DeviceAccess>("access");
    QTest::addColumn<PortError>("expected");
    const DeviceAccess windows{};
    const DeviceAccess missing{true, false, false};
    const DeviceAccess denied{true, true, false};
    const DeviceAccess open{true, true, true};
    QTest::newRow("Windows access denied is a busy port")
        << QSerialPort::PermissionError << windows << PortError::InUse;
    QTest::newRow("Windows no such port")
        << QSerialPort::DeviceNotFoundError << windows << PortError::NotFound;
    QTest::newRow("device file missing")
        << QSerialPort::PermissionError << missing << PortError::NotFound;
    QTest::newRow("no rights on the device")
        << QSerialPort::PermissionError << denied << PortError::PermissionDenied;
    QTest::newRow("locked by another program")
        << QSerialPort::PermissionError << open << PortError::InUse;
    QTest::newRow("other failure") << QSerialPort::UnknownError << open << PortError::Other;
}

void TestSerialLink::openErrors() {
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(DeviceAccess, access);
    QTEST(link::ClassifyOpenError(error, access), "expected");
}

void TestSerialLink::missingDevice() {
    SerialLink serial;
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("COM250");
#else
    const QString name = QStringLiteral("/dev/tr640-no-such-port");
#endif
    const link::PortOpenResult r = serial.open(name);
    QCOMPARE(r.error, PortError::NotFound);
    QVERIFY(!serial.isOpen());
    QVERIFY(!serial.write("PROGRAM"));
}

void TestSerialLink::fullRead() {
#ifdef Q_OS_UNIX
    Bench b;
    b.radio.setMemory(PatternImage(1024));
    QVERIFY(b.open());
    QVERIFY(b.host.session.start(Direction::Read));
    QTRY_COMPARE(b.host.ended, QList<Outcome>{Outcome::ReadDone});
    QCOMPARE(b.host.reads, QList<QString>{BytesToImageHex(PatternImage(1024))});
    QVERIFY(!b.serial.isOpen());
#else
    QSKIP("needs pseudo-terminals");
#endif
}

void TestSerialLink::fullWrite() {
#ifdef Q_OS_UNIX
    Bench b;
    QVERIFY(b.open());
    QVERIFY(b.host.session.start(Direction::Write));
    QTRY_COMPARE(b.host.ended, QList<Outcome>{Outcome::WriteDone});
    QTRY_COMPARE(b.radio.completedWrites(), 1); // the end request has arrived
    const QByteArray image = PatternImage();
    const QByteArray memory = b.radio.image();
    QCOMPARE(memory.first(0x170), image.first(0x170));
    QCOMPARE(memory.mid(0x170, 0x1A8 - 0x170), QByteArray(0x38, '\xFF'));
    QCOMPARE(memory.mid(0x1A8, 16), image.mid(0x1A8, 16));
    QCOMPARE(memory.mid(0x1B8, 0x38), QByteArray(0x38, '\xFF'));
    QCOMPARE(memory.mid(0x1F0), image.mid(0x1F0));
#else
    QSKIP("needs pseudo-terminals");
#endif
}

void TestSerialLink::silentRadio() {
#ifdef Q_OS_UNIX
    sim::RadioFaults faults;
    faults.silent = true;
    Bench b(faults);
    QVERIFY(b.open());
    QVERIFY(b.host.session.start(Direction::Read));
    QTRY_COMPARE(b.radio.framesReceived(), 1);
    for (int i = 0; i < 3; ++i)
        b.host.session.tick(Timer::Retry);
    QTRY_COMPARE(b.radio.framesReceived(), 2); // PROGRAM once more
    for (int i = 0; i < 4; ++i)
        b.host.session.tick(Timer::Watchdog);
    QCOMPARE(b.host.errors, 1);
    QTRY_COMPARE(b.radio.framesReceived(), 3); // the end request
    QVERIFY(b.serial.isOpen());
    QVERIFY(!b.host.session.busy());
#else
    QSKIP("needs pseudo-terminals");
#endif
}

void TestSerialLink::radioStopsMidTransfer() {
#ifdef Q_OS_UNIX
    sim::RadioFaults faults;
    faults.stopAfter = 10;
    Bench b(faults);
    QVERIFY(b.open());
    QVERIFY(b.host.session.start(Direction::Read));
    QTRY_COMPARE(b.radio.framesReceived(), 11); // the first frame left unanswered
    QCOMPARE(b.host.session.TransferStage(), 0);
    for (int i = 0; i < 3; ++i)
        b.host.session.tick(Timer::Watchdog);
    QVERIFY(b.host.ended.isEmpty());
    b.host.session.tick(Timer::Watchdog);
    QCOMPARE(b.host.ended, QList<Outcome>{Outcome::CommunicationError});
    QVERIFY(b.host.reads.isEmpty());
    QVERIFY(b.serial.isOpen());
#else
    QSKIP("needs pseudo-terminals");
#endif
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_link_serial.moc"
