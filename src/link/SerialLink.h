#pragma once

// The serial port to the radio (MSComm1): 9600 baud, 8 data bits, no parity, 1 stop bit, no
// flow control, DTR on. Received bytes are passed on as they arrive; writes go out in order.
// Qt Serial Port drives it on Linux (SerialLinkQt.cpp), the Win32 API on Windows
// (SerialLinkWin.cpp); both deliver on the thread that opened the port.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QObject>
#include <QString>
#ifndef Q_OS_WIN
#include <QSerialPort>
#endif

namespace tr640::link {

inline constexpr int kBaudRate = 9600;
inline constexpr int kMenuPortCount = 8; // COM1..COM8 in the port menu

// Why a port did not open. Each case has its own advice for the user.
enum class PortError {
    None,
    InUse,            // held by another program
    NotFound,         // no such device (cable unplugged, wrong name)
    PermissionDenied, // the user may not open it (Linux: not in the dialout group)
    Other,
};

// Whether this user belongs to the group that owns a device file.
enum class GroupMembership {
    Unknown,
    NotMember,      // neither the account nor the login
    NotInThisLogin, // the account was added, the running login predates it
    Member,
};

// What is known about the device file of a port that did not open. On Windows nothing is.
struct DeviceAccess {
    bool known = false;
    bool exists = false;
    bool accessible = false; // readable and writable by this user
    QString path;            // the device file
    QString group;           // the group owning it, empty when unknown
    GroupMembership membership = GroupMembership::Unknown;
};

struct PortOpenResult {
    PortError error = PortError::None;
    QString detail;      // the system's own description
    DeviceAccess access; // filled when the port did not open
    bool ok() const { return error == PortError::None; }
};

// The facts of a device file, gathered when a port does not open.
DeviceAccess AccessOf(const QString& portName);
// Linux: whether the numeric group `gid` is among the groups of the running process, from the
// text of /proc/self/status; and whether `user` is listed in `group` of an /etc/group text.
bool ProcessHasGroup(QByteArrayView procStatus, uint gid);
bool GroupFileLists(QByteArrayView groupFile, const QString& group, const QString& user);

#ifndef Q_OS_WIN
PortError ClassifyOpenError(QSerialPort::SerialPortError error, const DeviceAccess& access);
#endif

struct PortInfo {
    QString name;           // as passed to open(): "COM3", "ttyUSB0"
    QString systemLocation; // "\\.\COM3", "/dev/ttyUSB0"
    QString description;
    QString usbId; // "VID:PID" in upper-case hex, empty when not a USB device
};

#ifdef Q_OS_WIN
class Win32SerialPort;
#endif

class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);
    ~SerialLink() override;

    // Closes the port if open, then opens `portName` (a system name or path, or COM1..COM8).
    PortOpenResult open(const QString& portName);
    void close(); // pending output is handed to the system first
    bool isOpen() const;
    QString portName() const;
    bool write(QByteArrayView bytes);

    // COM1..COM8 of the port menu as this platform names them: COMn on Windows,
    // /dev/ttyS(n-1) elsewhere. Empty outside 1..8.
    static QString menuPortName(int number);
    // A name given by the user: COM1..COM8 (any case) become menuPortName(); everything
    // else is used as it is.
    static QString resolvePortName(const QString& name);
    static QList<PortInfo> availablePorts();

Q_SIGNALS:
    void bytesReceived(const QByteArray& bytes);
    // The device failed while open (unplugged); the port has been closed.
    void portLost(const QString& detail);

private:
#ifdef Q_OS_WIN
    Win32SerialPort* port_;
#else
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort* port_;
#endif
};

} // namespace tr640::link
