#include "link/SerialLink.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace tr640::link {

namespace {

#ifndef Q_OS_WIN
// Where the system keeps the device of a port name, on systems with device files.
QString DeviceFile(const QString& name) {
    if (name.startsWith(u'/') || name.startsWith(QLatin1String("./")) ||
        name.startsWith(QLatin1String("../")))
        return name;
    return QStringLiteral("/dev/") + name;
}
#endif

#ifdef Q_OS_LINUX
QByteArray ReadSystemFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(1 << 20) : QByteArray();
}

GroupMembership MembershipOf(const QFileInfo& device) {
    const QString group = device.group();
    const QByteArray status = ReadSystemFile(QStringLiteral("/proc/self/status"));
    if (group.isEmpty() || status.isEmpty())
        return GroupMembership::Unknown;
    if (ProcessHasGroup(status, device.groupId()))
        return GroupMembership::Member;
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    if (GroupFileLists(ReadSystemFile(QStringLiteral("/etc/group")), group, user))
        return GroupMembership::NotInThisLogin;
    return GroupMembership::NotMember;
}
#endif

} // namespace

bool ProcessHasGroup(QByteArrayView procStatus, uint gid) {
    const QByteArray wanted = QByteArray::number(gid);
    for (const QByteArray& line : procStatus.toByteArray().split('\n')) {
        // "Gid:" holds the real, effective, saved and file-system group; "Groups:" the others.
        if (!line.startsWith("Gid:") && !line.startsWith("Groups:"))
            continue;
        const QList<QByteArray> fields = line.mid(line.indexOf(':') + 1).simplified().split(' ');
        if (fields.contains(wanted))
            return true;
    }
    return false;
}

bool GroupFileLists(QByteArrayView groupFile, const QString& group, const QString& user) {
    if (group.isEmpty() || user.isEmpty())
        return false;
    const QByteArray name = group.toUtf8(), member = user.toUtf8();
    for (const QByteArray& line : groupFile.toByteArray().split('\n')) {
        // name:password:gid:member,member
        const QList<QByteArray> fields = line.trimmed().split(':');
        if (fields.size() >= 4 && fields.at(0) == name)
            return fields.at(3).split(',').contains(member);
    }
    return false;
}

DeviceAccess AccessOf([[maybe_unused]] const QString& name) {
    DeviceAccess a;
#ifndef Q_OS_WIN
    const QFileInfo info(DeviceFile(name));
    a.known = true;
    a.path = info.filePath();
    a.exists = info.exists();
    a.accessible = a.exists && info.isReadable() && info.isWritable();
    if (a.exists) {
        a.group = info.group();
#ifdef Q_OS_LINUX
        a.membership = MembershipOf(info);
#endif
    }
#else
    a.path = name;
#endif
    return a;
}

PortError ClassifyOpenError(QSerialPort::SerialPortError error, const DeviceAccess& access) {
    if (access.known && !access.exists)
        return PortError::NotFound;
    switch (error) {
    case QSerialPort::NoError:
        return PortError::None;
    case QSerialPort::DeviceNotFoundError:
        return PortError::NotFound;
    case QSerialPort::PermissionError:
        // Also what a port held by another program reports (Windows: access denied; Unix:
        // the lock file or exclusive mode). Only the device's own permissions tell them apart.
        if (access.known && !access.accessible)
            return PortError::PermissionDenied;
        return PortError::InUse;
    case QSerialPort::OpenError: // already open
        return PortError::InUse;
    default:
        return PortError::Other;
    }
}

SerialLink::SerialLink(QObject* parent) : QObject(parent), m_port(new QSerialPort(this)) {
    m_port->setObjectName(QStringLiteral("MSComm1"));
    connect(m_port, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialLink::onError);
}

SerialLink::~SerialLink() {
    close();
}

PortOpenResult SerialLink::open(const QString& portName) {
    close();
    const QString name = resolvePortName(portName);
    if (name.isEmpty())
        return {PortError::NotFound, QString(), {}};
    m_port->setPortName(name);
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const DeviceAccess access = AccessOf(name);
        PortOpenResult r{ClassifyOpenError(m_port->error(), access), m_port->errorString(), access};
        m_port->clearError();
        if (r.ok())
            r.error = PortError::Other;
        return r;
    }
    // Programming cables often draw their power from DTR. Devices without modem lines
    // (pseudo-terminals, some adapters) refuse it, which does not matter.
    m_port->setDataTerminalReady(true);
    m_port->clearError();
    return {};
}

void SerialLink::close() {
    if (!m_port->isOpen())
        return;
    m_port->flush();
    m_port->close();
    m_port->clearError();
}

bool SerialLink::isOpen() const {
    return m_port->isOpen();
}

QString SerialLink::portName() const {
    return m_port->portName();
}

bool SerialLink::write(QByteArrayView bytes) {
    if (!m_port->isOpen())
        return false;
    const bool ok = m_port->write(bytes.data(), bytes.size()) == bytes.size();
    m_port->flush();
    return ok;
}

void SerialLink::onReadyRead() {
    const QByteArray bytes = m_port->readAll();
    if (!bytes.isEmpty())
        Q_EMIT bytesReceived(bytes);
}

void SerialLink::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ResourceError || !m_port->isOpen())
        return;
    const QString detail = m_port->errorString();
    m_port->close();
    m_port->clearError();
    Q_EMIT portLost(detail);
}

QString SerialLink::menuPortName(int number) {
    if (number < 1 || number > kMenuPortCount)
        return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString SerialLink::resolvePortName(const QString& name) {
    if (name.size() == 4 && name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) &&
        name.at(3) >= u'1' && name.at(3) <= u'8')
        return menuPortName(name.at(3).unicode() - u'0');
    return name;
}

QList<PortInfo> SerialLink::availablePorts() {
    QList<PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortInfo p{info.portName(), info.systemLocation(), info.description(), QString()};
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            p.usbId = QStringLiteral("%1:%2")
                          .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                          .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'))
                          .toUpper();
        ports.append(p);
    }
    return ports;
}

} // namespace tr640::link
