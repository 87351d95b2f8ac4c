#include "codeplug/CodeplugFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace tr640 {

QByteArray ReadFileStart(const QString& path, qint64 maxBytes, FileStatus* status) {
    FileStatus st;
    QByteArray bytes;
    const QFileInfo info(path);
    if (!info.exists()) {
        st = {FileError::NotFound, QString()};
    } else if (info.isDir()) {
        st = {FileError::IsFolder, QString()};
    } else if (!info.isFile()) {
        st = {FileError::NotRegular, QString()};
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

namespace {

// A failed write on a volume without room for the bytes is reported as a full disk.
FileStatus WriteFailure(const QFileInfo& target, qint64 size, const QString& detail) {
    const QStorageInfo volume(target.absolutePath());
    const qint64 slack = 8 * 1024; // a file takes whole blocks, and the folder may grow
    if (volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < size + slack)
        return {FileError::DiskFull, detail};
    return {FileError::WriteFailed, detail};
}

} // namespace

FileStatus WriteFileAtomically(const QString& path, QByteArrayView bytes) {
    const QFileInfo info(path);
    if (info.isDir())
        return {FileError::IsFolder, QString()};
    QSaveFile f(path);
    // Unbuffered, so that a short write (a full disk, a file size limit) is seen here: a
    // buffered QSaveFile can commit a truncated file when its final flush writes only part.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QFileInfo dir(info.absolutePath());
        const bool denied = f.error() == QFileDevice::PermissionsError ||
                            (dir.exists() && !dir.isWritable()) ||
                            (info.exists() && !info.isWritable()) ||
                            (dir.exists() && QStorageInfo(dir.absoluteFilePath()).isReadOnly());
        return {denied ? FileError::PermissionDenied : FileError::WriteFailed, f.errorString()};
    }
    if (f.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString detail = f.errorString();
        f.cancelWriting();
        return WriteFailure(info, bytes.size(), detail);
    }
    if (!f.commit())
        return WriteFailure(info, bytes.size(), f.errorString());
    return {};
}

} // namespace tr640
