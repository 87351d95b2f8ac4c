#pragma once

// *.DAT files: the 848 image bytes, no header.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tr640 {

inline constexpr int kFileReadSize = 850;

enum class FileError {
    None,
    NotFound,
    IsFolder,
    NotRegular, // a pipe, a device or a socket: reading it could wait for ever
    PermissionDenied,
    ReadFailed,
    WriteFailed,
    DiskFull,
};

struct FileStatus {
    FileError error = FileError::None;
    QString detail; // the system's own description, for the message
    bool ok() const { return error == FileError::None; }
};

// Reads at most `maxBytes` from the start of a file. Anything but a regular file (a folder, a
// named pipe, a device, a socket) is refused before it is opened.
QByteArray ReadFileStart(const QString& path, qint64 maxBytes, FileStatus* status);

// Reads the first 850 bytes of a file; bytes past the end of a shorter file read as 0xFF (as an
// erased radio reads). The result is always 850 bytes when the status is ok.
QByteArray ReadCodeplugFile(const QString& path, FileStatus* status);

// Writes bytes to a file atomically: on any failure an existing file is left as it was.
FileStatus WriteFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace tr640
