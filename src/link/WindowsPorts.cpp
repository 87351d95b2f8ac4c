#include "link/WindowsPorts.h"

#include <QRegularExpression>

#include <algorithm>

namespace tr640::link {

namespace {

// The Win32 error codes CreateFile reports for a serial port (winerror.h).
enum Win32Error : quint32 {
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    SharingViolation = 32,
    InvalidName = 123,
};

} // namespace

int ComNumber(const QString& name) {
    if (name.size() < 4 || !name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int n = QStringView(name).mid(3).toInt(&ok);
    return ok && n > 0 && name.at(3).isDigit() ? n : 0;
}

PortInfo WindowsPort(const QString& portName, const QString& friendlyName,
                     const QString& hardwareId) {
    PortInfo p{portName, QStringLiteral("\\\\.\\") + portName, friendlyName.trimmed(), QString()};
    const QString suffix = QStringLiteral("(%1)").arg(portName);
    if (p.description.endsWith(suffix, Qt::CaseInsensitive))
        p.description = p.description.chopped(suffix.size()).trimmed();
    static const QRegularExpression usb(QStringLiteral("VID_([0-9A-F]{4})[&+]PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = usb.match(hardwareId);
    if (m.hasMatch())
        p.usbId = (m.captured(1) + u':' + m.captured(2)).toUpper();
    return p;
}

void SortByComNumber(QList<PortInfo>& ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) {
        const int na = ComNumber(a.name), nb = ComNumber(b.name);
        if ((na == 0) != (nb == 0))
            return na != 0;
        if (na != nb)
            return na < nb;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
}

PortError ClassifyWin32OpenError(quint32 code) {
    switch (code) {
    case 0:
        return PortError::None;
    case AccessDenied:
    case SharingViolation:
        return PortError::InUse;
    case FileNotFound:
    case PathNotFound:
    case InvalidName:
        return PortError::NotFound;
    default:
        return PortError::Other;
    }
}

} // namespace tr640::link
