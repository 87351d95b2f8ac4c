#include "codeplug/Places.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tr640 {

QString FolderTakingFiles(const QString& preferred, const QString& fallback) {
    // Only a file actually made tells: Windows' access lists are not file modes.
    QTemporaryFile probe(QDir(preferred).filePath(QStringLiteral(".tr640-probe-XXXXXX")));
    return probe.open() ? preferred : fallback;
}

QString UserFolder() {
    QString user = qEnvironmentVariable("APPDATA");
    if (user.isEmpty())
        user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(QDir::fromNativeSeparators(user)).filePath(QStringLiteral("tr640"));
}

QString ProgramOrUserFolder() {
    return FolderTakingFiles(QCoreApplication::applicationDirPath(), UserFolder());
}

} // namespace tr640
