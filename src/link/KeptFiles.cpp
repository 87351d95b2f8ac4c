#include "link/KeptFiles.h"

#include "codeplug/BandTable.h"
#include "codeplug/Places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace tr640::link {

namespace {

constexpr int kMaxSameSecond = 1000;

QString Sanitised(const QString& label) {
    QString out;
    for (QChar c : label)
        out += (c.isLetterOrNumber() && c.unicode() < 0x80) || c == u'-' || c == u'.' ? c : u'_';
    return out;
}

} // namespace

QString DefaultDataDirectory() {
#ifdef Q_OS_WIN
    return ProgramOrUserFolder();
#else
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tr640"));
#endif
}

QString BackupDirectory(const QString& dataDirectory) {
    return QDir(dataDirectory).filePath(QStringLiteral("backups"));
}

QString TraceDirectory(const QString& dataDirectory) {
    return QDir(dataDirectory).filePath(QStringLiteral("traces"));
}

QString BackupLabel(int band, ImageKind kind) {
    const QString bandText = QString::fromLatin1(Band(band).text);
    switch (kind) {
    case ImageKind::Read:
        return bandText + QStringLiteral("-read");
    case ImageKind::BeforeWrite:
        return bandText + QStringLiteral("-before-write");
    case ImageKind::Written:
        break;
    }
    return bandText + QStringLiteral("-write");
}

RotatingFolder::RotatingFolder(const QString& directory, const QString& extension, int keep)
    : directory_(directory), extension_(extension), keep_(keep) {}

QString RotatingFolder::store(const QDateTime& when, const QString& label, QByteArrayView bytes,
                              FileStatus* status) {
    FileStatus st;
    QString path;
    const QDir dir(directory_);
    if (!QDir().mkpath(directory_)) {
        st = {FileError::WriteFailed, QStringLiteral("cannot create the folder")};
    } else {
        const QString stem = when.toString(QStringLiteral("yyyyMMdd-HHmmss-")) + Sanitised(label);
        // The name is claimed by creating the file exclusively, so two programs storing in the
        // same second cannot take the same one; the content then replaces it atomically.
        for (int n = 1; n <= kMaxSameSecond && path.isEmpty(); ++n) {
            const QString name = n == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(n);
            const QString candidate = dir.filePath(name + u'.' + extension_);
            QFile claim(candidate);
            if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                claim.close();
                path = candidate;
            } else if (!claim.exists()) {
                st = {FileError::WriteFailed, claim.errorString()};
                break;
            }
        }
        if (path.isEmpty() && st.ok())
            st = {FileError::WriteFailed, QStringLiteral("no free file name")};
        if (!path.isEmpty()) {
            st = WriteFileAtomically(path, bytes);
            if (!st.ok()) {
                QFile::remove(path);
                path.clear();
            }
        }
    }
    if (status)
        *status = st;
    if (!path.isEmpty())
        prune();
    return path;
}

QStringList RotatingFolder::files() const {
    static const QRegularExpression ours(QStringLiteral("^\\d{8}-\\d{6}-[A-Za-z0-9._-]+$"));
    QFileInfoList found;
    const QFileInfoList all =
        QDir(directory_).entryInfoList({QStringLiteral("*.") + extension_}, QDir::Files);
    for (const QFileInfo& info : all)
        if (info.suffix() == extension_ && ours.match(info.completeBaseName()).hasMatch())
            found << info;
    // By the time in the name; within one second by the file's own time, then by the number
    // added to a name taken in that second.
    static const QRegularExpression serial(QStringLiteral("-(\\d+)$"));
    const auto serialOf = [](const QFileInfo& f) {
        const QRegularExpressionMatch m = serial.match(f.completeBaseName().mid(16));
        return m.hasMatch() ? m.captured(1).toInt() : 1;
    };
    std::sort(found.begin(), found.end(), [&](const QFileInfo& a, const QFileInfo& b) {
        const QString ka = a.fileName().left(15), kb = b.fileName().left(15);
        if (ka != kb)
            return ka < kb;
        if (a.lastModified() != b.lastModified())
            return a.lastModified() < b.lastModified();
        if (serialOf(a) != serialOf(b))
            return serialOf(a) < serialOf(b);
        return a.fileName() < b.fileName();
    });
    QStringList paths;
    for (const QFileInfo& info : found)
        paths << info.filePath();
    return paths;
}

QString RotatingFolder::newest() const {
    const QStringList all = files();
    return all.isEmpty() ? QString() : all.last();
}

void RotatingFolder::prune() const {
    const QStringList all = files();
    for (qsizetype i = 0; i + keep_ < all.size(); ++i)
        QFile::remove(all.at(i));
}

} // namespace tr640::link
