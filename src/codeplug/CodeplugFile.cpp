#include "codeplug/CodeplugFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tr640 {

QByteArray ReadFileStart(const QString& path, qint64 maxBytes, FileStatus* status) {
    FileStatus st;
    QByteArray bytes;
    const QFileInfo info(path);
    if (!info.exists()) {
        st = {FileError::NotFound, QString()};
    } else if (info.isDir()) {
        st = {FileError::IsFolder, QString()};
    } else {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            const bool denied = f.error() == QFileDevice::PermissionsError || !info.isReadable();
            st = {denied ? FileError::PermissionDenied : FileError::ReadFailed, f.errorString()};
        } else {
            bytes = f.read(maxBytes);
            if (f.error() != QFileDevice::NoError) {
                st = {FileError::ReadFailed, f.errorString()};
                bytes.clear();
            }
        }
    }
    if (status)
        *status = st;
    return bytes;
}

QByteArray ReadCodeplugFile(const QString& path, FileStatus* status) {
    FileStatus st;
    QByteArray bytes = ReadFileStart(path, kFileReadSize, &st);
    if (st.ok() && bytes.size() < kFileReadSize)
        bytes.append(QByteArray(kFileReadSize - bytes.size(), '\xFF'));
    if (status)
        *status = st;
    return bytes;
}

FileStatus WriteFileAtomically(const QString& path, QByteArrayView bytes) {
    const QFileInfo info(path);
    if (info.isDir())
        return {FileError::IsFolder, QString()};
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        const QFileInfo dir(info.absolutePath());
        const bool denied = f.error() == QFileDevice::PermissionsError ||
                            (dir.exists() && !dir.isWritable()) ||
                            (info.exists() && !info.isWritable());
        return {denied ? FileError::PermissionDenied : FileError::WriteFailed, f.errorString()};
    }
    if (f.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString detail = f.errorString();
        f.cancelWriting();
        return {FileError::WriteFailed, detail};
    }
    if (!f.commit())
        return {FileError::WriteFailed, f.errorString()};
    return {};
}

} // namespace tr640
