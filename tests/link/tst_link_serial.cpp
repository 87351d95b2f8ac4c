// The serial adapter without a radio: port names, open failures and the advice the user gets,
// and the port list's texts.

#include "link/PortAdvice.h"
#include "link/SerialLink.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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
        const DeviceAccess windows{}, missing = Facts(false, false), denied = Facts(true, false),
                                      usable = Facts(true, true);
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
#endif

    // The advice that follows the in-use or not-open text, from the facts of the device.
    void advice_data() {
        QTest::addColumn<PortOpenResult>("result");
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<QStringList>("never");
        const QString join = QStringLiteral("sudo usermod -aG dialout $USER");
        const QString relog = QStringLiteral("log out and log in again");
        const QString admin = QStringLiteral("Ask the administrator");
        const auto denied = [](const QString& group, GroupMembership m) {
            return PortOpenResult{PortError::PermissionDenied, "Permission denied",
                                  DeviceAccess{true, true, false, "/dev/ttyUSB0", group, m}};
        };
        QTest::newRow("not in the group")
            << denied("dialout", GroupMembership::NotMember) << 1
            << QStringList{"/dev/ttyUSB0", "\"dialout\"", join, relog} << QStringList{admin};
        QTest::newRow("the device's own group is named")
            << denied("uucp", GroupMembership::NotMember) << 1
            << QStringList{"sudo usermod -aG uucp $USER"} << QStringList{"dialout"};
        QTest::newRow("added, not logged in since")
            << denied("dialout", GroupMembership::NotInThisLogin) << 1
            << QStringList{"\"dialout\"", "Log out and log in again"} << QStringList{"usermod"};
        QTest::newRow("member, but the group may not either")
            << denied("dialout", GroupMembership::Member) << 1 << QStringList{admin}
            << QStringList{"usermod"};
        QTest::newRow("Chinese") << denied("dialout", GroupMembership::NotMember) << 0
                                 << QStringList{"用户组“dialout”", join, "注销并重新登录"}
                                 << QStringList{"You may"};
        const DeviceAccess busy = Facts(true, true, "/dev/ttyUSB0");
        QTest::newRow("held by another program")
            << PortOpenResult{PortError::InUse, "Permission denied", busy} << 1
            << QStringList{"/dev/ttyUSB0 is held by another program", "Close that program"}
            << QStringList{"usermod"};
        const DeviceAccess gone = Facts(false, false, "/dev/ttyUSB1");
        QTest::newRow("missing") << PortOpenResult{PortError::NotFound, "No such file", gone} << 1
                                 << QStringList{"There is no port /dev/ttyUSB1", "plugged in"}
                                 << QStringList{"usermod", "held"};
        QTest::newRow("anything else, with the system's text")
            << PortOpenResult{PortError::Other, "Input/output error", busy} << 1
            << QStringList{"/dev/ttyUSB0 cannot be opened: Input/output error."} << QStringList{};
    }
    void advice() {
        QFETCH(PortOpenResult, result);
        QFETCH(int, language);
        QFETCH(QStringList, says);
        QFETCH(QStringList, never);
        const QString text = tr640::link::PortProblemAdvice(result, "ttyUSB0", language);
        for (const QString& s : says)
            QVERIFY2(text.contains(s), qPrintable(text));
        for (const QString& s : never)
            QVERIFY2(!text.contains(s), qPrintable(text));
    }

    void groupFacts_data() { // /proc/self/status, or a line of /etc/group, damaged ones too
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("process"); // ProcessHasGroup(text, 20) rather than the group file
        QTest::addColumn<bool>("expected");
        const QByteArray status = "Name:\tcat\nGid:\t1000\t1000\t1000\t1000\n";
        QTest::newRow("supplementary group") << status + "Groups:\t4 20 24 27\n" << true << true;
        QTest::newRow("primary group")
            << QByteArray("Gid:\t20\t20\t20\t20\nGroups:\t\n") << true << true;
        QTest::newRow("not in the process") << status + "Groups:\t4 200 1020\n" << true << false;
        QTest::newRow("listed last, CRLF")
            << QByteArray("root:x:0:\r\ndialout:x:20:bob,alice\r\n") << false << true;
        QTest::newRow("another user") << QByteArray("dialout:x:20:alicia\n") << false << false;
        QTest::newRow("another group") << QByteArray("dialouts:x:21:alice\n") << false << false;
        QTest::newRow("damaged line") << QByteArray("dialout:alice\n") << false << false;
    }
    void groupFacts() {
        QFETCH(QByteArray, text);
        QFETCH(bool, process);
        QTEST(process ? tr640::link::ProcessHasGroup(text, 20)
                      : tr640::link::GroupFileLists(text, "dialout", "alice"),
              "expected");
    }

    void portMenuText_data() {
        QTest::addColumn<PortInfo>("port");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        const PortInfo ch340{"ttyUSB0", "/dev/ttyUSB0", "USB Serial", "1A86:7523"};
#ifndef Q_OS_WIN
        QTest::newRow("CH340") << ch340 << 1
                               << QString("USB Serial (ttyUSB0)  [1A86:7523]  — CH340 programming "
                                          "cable");
        QTest::newRow("CH340, Chinese")
            << ch340 << 0 << QString("USB Serial (ttyUSB0)  [1A86:7523]  — CH340 编程线");
        QTest::newRow("another USB device")
            << PortInfo{"ttyACM0", "/dev/ttyACM0", "Arduino Uno", "2341:0043"} << 1
            << QString("Arduino Uno (ttyACM0)  [2341:0043]");
        QTest::newRow("no description")
            << PortInfo{"ttyUSB2", "/dev/ttyUSB2", "", "067B:2303"} << 1
            << QString("ttyUSB2  [067B:2303]  — PL2303 programming cable");
#endif
        QTest::newRow("not USB") << PortInfo{"rfcomm0", "/dev/rfcomm0", "", ""} << 1
                                 << QString("rfcomm0");
    }
    void portMenuText() {
        QFETCH(PortInfo, port);
        QFETCH(int, language);
        QTEST(tr640::link::PortMenuText(port, language), "text");
    }

    void deviceWithoutRights() {
#ifdef Q_OS_WIN
        QSKIP("device files have no modes here");
#else
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ttyFAKE"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::Permissions()));
        if (QFileInfo(path).isReadable())
            QSKIP("file modes do not deny this user (root)");
        SerialLink serial;
        const PortOpenResult r = serial.open(path);
        QCOMPARE(r.error, PortError::PermissionDenied);
        QCOMPARE(r.access.path, path);
        QVERIFY(!r.access.group.isEmpty());
        QVERIFY(tr640::link::PortProblemAdvice(r, path, 1).contains(path));
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    }
};

QTEST_GUILESS_MAIN(TestLinkSerial)
#include "tst_link_serial.moc"
