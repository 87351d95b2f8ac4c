// The serial adapter without a radio: port names and open failures.

#include "link/SerialLink.h"

#include <QTest>

using tr640::link::DeviceAccess;
using tr640::link::PortError;
using tr640::link::SerialLink;

class TestLinkSerial : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portNames_data() {
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
    void portNames() {
        QFETCH(QString, given);
        QTEST(SerialLink::resolvePortName(given), "opened");
    }

    void openErrors_data() {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<DeviceAccess>("access");
        QTest::addColumn<PortError>("expected");
        const DeviceAccess windows{}, missing{true, false, false}, denied{true, true, false},
            usable{true, true, true};
        const auto P = QSerialPort::PermissionError;
        QTest::newRow("Windows: access denied is a busy port") << P << windows << PortError::InUse;
        QTest::newRow("Windows: no such port")
            << QSerialPort::DeviceNotFoundError << windows << PortError::NotFound;
        QTest::newRow("device file missing") << P << missing << PortError::NotFound;
        QTest::newRow("no rights on the device") << P << denied << PortError::PermissionDenied;
        QTest::newRow("locked by another program") << P << usable << PortError::InUse;
        QTest::newRow("other failure") << QSerialPort::UnknownError << usable << PortError::Other;
    }
    void openErrors() {
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(DeviceAccess, access);
        QTEST(tr640::link::ClassifyOpenError(error, access), "expected");
    }

    void missingDevice() {
        SerialLink serial;
#ifdef Q_OS_WIN
        const QString name = QStringLiteral("COM250");
#else
        const QString name = QStringLiteral("/dev/tr640-no-such-port");
#endif
        QCOMPARE(serial.open(name).error, PortError::NotFound);
        QVERIFY(!serial.isOpen());
        QVERIFY(!serial.write("PROGRAM"));
    }
};

QTEST_GUILESS_MAIN(TestLinkSerial)
#include "tst_link_serial.moc"
