#include "app/WriteChecks.h"

#include "codeplug/CodeplugFile.h"

#include <QDir>
#include <QFile>

namespace tr640 {

namespace {

constexpr qsizetype kMaxFileSize = 4096;
constexpr QByteArrayView kBackupKey("backup-before-write");
constexpr QByteArrayView kVerifyKey("verify-after-write");
constexpr QByteArrayView kPreviewKey("preview-before-write");

QString ChecksPath(const QString& directory) {
    return QDir(directory).filePath(QStringLiteral("writechecks"));
}

} // namespace

WriteChecks ParseWriteChecks(QByteArrayView text) {
    WriteChecks c;
    for (const QByteArray& raw : text.toByteArray().split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        const bool on = value == "1";
        if (key == kBackupKey)
            c.BackupFirst = on;
        else if (key == kVerifyKey)
            c.Verify = on;
        else if (key == kPreviewKey)
            c.Preview = on;
    }
    return c;
}

QByteArray SerializeWriteChecks(const WriteChecks& c) {
    QByteArray text;
    text += kBackupKey.toByteArray() + '=' + (c.BackupFirst ? '1' : '0') + '\n';
    text += kVerifyKey.toByteArray() + '=' + (c.Verify ? '1' : '0') + '\n';
    text += kPreviewKey.toByteArray() + '=' + (c.Preview ? '1' : '0') + '\n';
    return text;
}

WriteChecks LoadWriteChecks(const QString& directory) {
    QFile f(ChecksPath(directory));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return ParseWriteChecks(f.read(kMaxFileSize));
}

bool SaveWriteChecks(const QString& directory, const WriteChecks& checks) {
    QDir().mkpath(directory);
    return WriteFileAtomically(ChecksPath(directory), SerializeWriteChecks(checks)).ok();
}

} // namespace tr640
