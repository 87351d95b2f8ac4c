#include "app/Preferences.h"

#include "codeplug/CodeplugFile.h"
#include "codeplug/Places.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace tr640 {

namespace {

constexpr qsizetype kMaxPortName = 256;

QString ParameterPath(const QString& dir) {
    return QDir(dir).filePath(QStringLiteral("parameter"));
}

QString PortPath(const QString& dir) {
    return QDir(dir).filePath(QStringLiteral("port"));
}

QByteArray ReadSmallFile(const QString& path, qsizetype limit) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.read(limit);
}

} // namespace

QString DefaultPreferencesDirectory() {
#ifdef Q_OS_WIN
    return ProgramOrUserFolder();
#else
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("tr640"));
#endif
}

Preferences ParsePreferences(QByteArrayView parameter, QByteArrayView port) {
    const auto byte = [&](int i) { return i < parameter.size() ? quint8(parameter[i]) : 0; };
    Preferences p;
    p.Locked = byte(0) == 1;
    p.ComPortNumber = byte(1) <= 8 ? byte(1) : 0;
    p.Language = byte(2) <= 1 ? byte(2) : 0;
    if (p.ComPortNumber == 0 && port.size() <= kMaxPortName) {
        // One line of UTF-8 text; anything longer, not UTF-8 or with control characters is
        // not a port name (and would not be saved back as it was read).
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString name = QString(utf8.decode(port)).trimmed();
        bool clean = !name.isEmpty() && !utf8.hasError();
        for (QChar c : name)
            clean = clean && c.isPrint();
        if (clean)
            p.PortName = name;
    }
    return p;
}

QByteArray SerializeParameter(const Preferences& p) {
    QByteArray bytes(3, '\0');
    bytes[0] = p.Locked ? 1 : 0;
    bytes[1] = static_cast<char>(p.ComPortNumber & 0xFF);
    bytes[2] = static_cast<char>(p.Language & 0xFF);
    return bytes;
}

QByteArray SerializePort(const Preferences& p) {
    return p.ComPortNumber == 0 ? p.PortName.toUtf8() : QByteArray();
}

Preferences LoadPreferences(const QString& directory) {
    const QString parameter = ParameterPath(directory);
    if (!QFile::exists(parameter)) {
        QDir().mkpath(directory);
        QFile f(parameter);
        (void)f.open(QIODevice::WriteOnly); // an absent file is created empty
    }
    return ParsePreferences(ReadSmallFile(parameter, 3),
                            ReadSmallFile(PortPath(directory), kMaxPortName + 1));
}

bool SavePreferences(const QString& directory, const Preferences& p) {
    QDir().mkpath(directory);
    const bool parameterOk =
        WriteFileAtomically(ParameterPath(directory), SerializeParameter(p)).ok();
    bool portOk = true;
    if (p.ComPortNumber == 0 && !p.PortName.isEmpty())
        portOk = WriteFileAtomically(PortPath(directory), SerializePort(p)).ok();
    else if (QFile::exists(PortPath(directory)))
        portOk = QFile::remove(PortPath(directory));
    return parameterOk && portOk;
}

} // namespace tr640
