// The parts of the serial adapter every platform shares: port names, and the facts of a
// device file that did not open.

#include "link/SerialLink.h"

#include <QFile>
#include <QFileInfo>

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

} // namespace tr640::link
