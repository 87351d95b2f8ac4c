// The serial adapter without a radio: port names, open failures and the advice the user gets,
// and the port list's text.

#include "link/PortAdvice.h"
#include "link/SerialLink.h"

#include <QTest>

using tr640::link::DeviceAccess;
using tr640::link::GroupMembership;
using tr640::link::PortError;
using tr640::link::PortInfo;
using tr640::link::PortOpenResult;
using tr640::link::SerialLink;

namespace {

DeviceAccess Facts(bool exists, bool accessible, const QString& path = QString()) {
    return {true, exists, accessible, path, QString(), GroupMembership::Unknown};
}

} // namespace

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

#ifndef Q_OS_WIN // Qt Serial Port's errors; Windows has its own adapter
    void openErrors_data() {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<DeviceAccess>("access");
        QTest::addColumn<PortError>("expected");
        const DeviceAccess missing = Facts(false, false), denied = Facts(true, false),
                           usable = Facts(true, true);
        const auto P = QSerialPort::PermissionError;
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
#endif

    // The advice that follows the in-use or not-open text, one row per kind.
    void advice_data() {
        QTest::addColumn<PortOpenResult>("result");
        QTest::addColumn<QStringList>("says");
        const auto denied = [](GroupMembership m) {
            return PortOpenResult{PortError::PermissionDenied, "Permission denied",
                                  DeviceAccess{true, true, false, "/dev/ttyUSB0", "uucp", m}};
        };
        QTest::newRow("not in the group")
            << denied(GroupMembership::NotMember)
            << QStringList{"/dev/ttyUSB0", "\"uucp\"", "sudo usermod -aG uucp $USER",
                           "log out and log in again"};
        QTest::newRow("added, not logged in since")
            << denied(GroupMembership::NotInThisLogin)
            << QStringList{"\"uucp\"", "Log out and log in again"};
        QTest::newRow("member, but the group may not either")
            << denied(GroupMembership::Member) << QStringList{"Ask the administrator"};
        const DeviceAccess busy = Facts(true, true, "/dev/ttyUSB0");
        QTest::newRow("held by another program")
            << PortOpenResult{PortError::InUse, "Permission denied", busy}
            << QStringList{"/dev/ttyUSB0 is held by another program", "Close that program"};
        QTest::newRow("missing") << PortOpenResult{PortError::NotFound, "No such file",
                                                   Facts(false, false, "/dev/ttyUSB1")}
                                 << QStringList{"There is no port /dev/ttyUSB1", "plugged in"};
        QTest::newRow("anything else, with the system's text")
            << PortOpenResult{PortError::Other, "Input/output error", busy}
            << QStringList{"/dev/ttyUSB0 cannot be opened: Input/output error."};
    }
    void advice() {
        QFETCH(PortOpenResult, result);
        QFETCH(QStringList, says);
        const QString text = tr640::link::PortProblemAdvice(result, "ttyUSB0", 1);
        for (const QString& s : says)
            QVERIFY2(text.contains(s), qPrintable(text));
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
        QTEST(tr640::link::PortMenuText(port, language), "text");
    }
};

QTEST_GUILESS_MAIN(TestLinkSerial)
#include "tst_link_serial.moc"
