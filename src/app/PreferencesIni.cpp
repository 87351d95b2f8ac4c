#include "app/PreferencesIni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tr640 {

namespace {

// Ours hold a few short lines.
constexpr qint64 kMaxIniSize = 64 * 1024;

QString IniPath(const QString& directory) {
    return QDir(directory).filePath(QStringLiteral("preferences.ini"));
}

} // namespace

std::unique_ptr<QSettings> OpenPreferencesIni(const QString& directory) {
    const QString path = IniPath(directory);
    const QFileInfo file(path);
    if (file.isFile() && file.size() > kMaxIniSize)
        QFile::remove(path);
    auto ini = std::make_unique<QSettings>(path, QSettings::IniFormat);
    (void)ini->allKeys(); // reads the whole file
    if (ini->status() == QSettings::FormatError) {
        // QSettings never writes over a file it could not read.
        ini.reset();
        QFile::remove(path);
        ini = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
    return ini;
}

bool SavePreferencesIni(QSettings& ini) {
    QDir().mkpath(QFileInfo(ini.fileName()).path());
    ini.sync();
    return ini.status() == QSettings::NoError;
}

void CarryOverOldFile(const QString& directory, const QString& name, qsizetype limit,
                      const std::function<void(QByteArrayView, QSettings&)>& carry) {
    QFile old(QDir(directory).filePath(name));
    if (!old.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = old.read(limit);
    old.close();
    const std::unique_ptr<QSettings> ini = OpenPreferencesIni(directory);
    carry(bytes, *ini);
    if (SavePreferencesIni(*ini))
        old.remove();
}

bool IniFlag(const QSettings& ini, QAnyStringView key) {
    return ini.value(key).toString() == QLatin1String("true");
}

} // namespace tr640
