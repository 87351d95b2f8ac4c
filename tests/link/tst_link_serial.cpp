// The serial adapter without a radio: port names, open failures and the advice the user gets,
// and the port list's text.

#include "link/PortAdvice.h"
#include "link/SerialLink.h"

#include <QTest>

using namespace tr640::link;

#ifdef Q_OS_WIN // Windows has its own adapter: the error column is not read there
using SerialError = int;
constexpr SerialError kPermission = 0, kUnknown = 0;
#else
using SerialError = QSerialPort::SerialPortError;
constexpr SerialError kPermission = QSerialPort::PermissionError,
                      kUnknown = QSerialPort::UnknownError;
#endif

class TestLinkSerial : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portNames_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("opened");
        const auto row = [](const char* given, const char* opened) {
            QTest::newRow(given) << QString(given) << QString(opened);
        };
#ifdef Q_OS_WIN
        row("com8", "COM8");
#else
        row("com8", "/dev/ttyS7");
#endif
        row("COM9", "COM9"); // system names from here on
        row("/dev/ttyUSB0", "/dev/ttyUSB0");
    }
    void portNames() {
        QFETCH(QString, given);
        QTEST(SerialLink::resolvePortName(given), "opened");
    }

    // Why a port did not open (from Qt Serial Port's error and the device file) and the advice
    // that follows the in-use or not-open text.
    void openErrors_data() {
        QTest::addColumn<SerialError>("error");
        QTest::addColumn<DeviceAccess>("access");
        QTest::addColumn<PortError>("kind");
        QTest::addColumn<QString>("advice");
        const auto denied = [](GroupMembership m) {
            return DeviceAccess{true, true, false, "/dev/ttyUSB0", "uucp", m};
        };
        const DeviceAccess usable{true, true, true, "/dev/ttyUSB0", {}, GroupMembership::Unknown};
        const auto P = kPermission;
        QTest::newRow("device file missing")
            << P << DeviceAccess{true, false, false, "/dev/ttyUSB1", {}, GroupMembership::Unknown}
            << PortError::NotFound
#ifdef Q_OS_WIN
            << QString("There is no port /dev/ttyUSB1. Check that the programming cable is plugged "
                       "in and its driver is installed (Device Manager shows the cable's COM "
                       "number), then choose the port again from the 'Communication port' menu.");
#else
            << QString("There is no port /dev/ttyUSB1. Check that the programming cable is plugged "
                       "in, then "
                       "choose the port again from the 'Communication port' menu (a USB cable may "
                       "get another name in another USB socket).");
#endif
        QTest::newRow("no rights, not in the group")
            << P << denied(GroupMembership::NotMember) << PortError::PermissionDenied
            << QString("You may not use /dev/ttyUSB0: the device belongs to the group \"uucp\", "
                       "and this "
                       "user is not a member of it. Run\n    sudo usermod -aG uucp $USER\nin a "
                       "terminal, then log out and log in again.");
        QTest::newRow("no rights, added to the group, not logged in since")
            << P << denied(GroupMembership::NotInThisLogin) << PortError::PermissionDenied
            << QString("You may not use /dev/ttyUSB0 yet: this user was added to the group "
                       "\"uucp\", but "
                       "the current login does not have it. Log out and log in again (or restart "
                       "the computer).");
        QTest::newRow("no rights as a member of the group")
            << P << denied(GroupMembership::Member) << PortError::PermissionDenied
            << QString(
                   "You may not use /dev/ttyUSB0. Ask the administrator to give this user read and "
                   "write access to it.");
        QTest::newRow("locked by another program")
            << P << usable << PortError::InUse
#ifdef Q_OS_WIN
            << QString("/dev/ttyUSB0 is held by another program (another programming tool or a "
                       "terminal program). Close that program and try again.");
#else
            << QString(
                   "/dev/ttyUSB0 is held by another program (another programming tool, a terminal "
                   "program, or ModemManager probing a newly plugged USB cable). Close that "
                   "program and try again; ModemManager usually lets go after a few seconds.");
#endif
        QTest::newRow("other failure, with the system's text")
            << kUnknown << usable << PortError::Other
            << QString("/dev/ttyUSB0 cannot be opened: Input/output error.");
    }
    void openErrors() {
        QFETCH(DeviceAccess, access);
        QFETCH(PortError, kind);
#ifndef Q_OS_WIN
        QFETCH(SerialError, error);
        QCOMPARE(ClassifyOpenError(error, access), kind);
#endif
        const PortOpenResult result{kind, "Input/output error", access};
        QTEST(PortProblemAdvice(result, "ttyUSB0", 1), "advice");
    }

    void portMenuText_data() {
        QTest::addColumn<PortInfo>("port");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
#ifdef Q_OS_WIN
        QTest::newRow("CH340") << PortInfo{"COM3", "COM3", "USB-SERIAL CH340", "1A86:7523"} << 1
                               << QString("COM3: USB-SERIAL CH340  [1A86:7523]  — CH340 "
                                          "programming cable");
#else
        QTest::newRow("CH340") << PortInfo{"ttyUSB0", "/dev/ttyUSB0", "USB Serial", "1A86:7523"}
                               << 0 << QString("USB Serial (ttyUSB0)  [1A86:7523]  — CH340 编程线");
#endif
    }
    void portMenuText() {
        QFETCH(PortInfo, port);
        QFETCH(int, language);
        QTEST(PortMenuText(port, language), "text");
    }
};

QTEST_GUILESS_MAIN(TestLinkSerial)
#include "tst_link_serial.moc"
