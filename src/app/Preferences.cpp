#include "app/Preferences.h"

#include "app/PreferencesIni.h"

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

constexpr QLatin1StringView kPortNameKey("port/name");

// The name as the INI file keeps it: one that reads as no name is not kept.
void PutPortName(QSettings& ini, const Preferences& p) {
    if (p.ComPortNumber == 0 && !p.PortName.isEmpty())
        ini.setValue(kPortNameKey, p.PortName);
    else
        ini.remove(kPortNameKey);
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
        clean = clean && !name.contains(QChar::ReplacementCharacter); // from a damaged INI file
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

Preferences LoadPreferences(const QString& directory) {
    const QString parameter = ParameterPath(directory);
    if (!QFile::exists(parameter)) {
        QDir().mkpath(directory);
        QFile f(parameter);
        (void)f.open(QIODevice::WriteOnly); // an absent file is created empty
    }
    // The file `port` of earlier versions: its name, if it is one, goes into the INI file.
    CarryOverOldFile(directory, QStringLiteral("port"), kMaxPortName + 1,
                     [](QByteArrayView old, QSettings& ini) {
                         PutPortName(ini, ParsePreferences(QByteArrayView(), old));
                     });
    const QVariant name = OpenPreferencesIni(directory)->value(kPortNameKey);
    const QByteArray port = name.typeId() == QMetaType::QString ? name.toString().toUtf8() : "";
    return ParsePreferences(ReadSmallFile(parameter, 3), port);
}

bool SavePreferences(const QString& directory, const Preferences& p) {
    QDir().mkpath(directory);
    const bool parameterOk =
        WriteFileAtomically(ParameterPath(directory), SerializeParameter(p)).ok();
    const std::unique_ptr<QSettings> ini = OpenPreferencesIni(directory);
    PutPortName(*ini, p);
    return SavePreferencesIni(*ini) && parameterOk;
}

} // namespace tr640
