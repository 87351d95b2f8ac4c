#pragma once

// The folders of files kept for the user: copies of the codeplugs read from and written to
// radios, and serial traces. A file is named after the moment it was made and what it holds,
// "20250301-101500-400-470MHz-read.DAT", with "-2", "-3", ... added when that name is taken;
// only the newest files are kept. Files of any other name in the folder are never touched.

#include "codeplug/CodeplugFile.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tr640::link {

inline constexpr int kBackupsKept = 100;
inline constexpr int kTracesKept = 10;

// Where the folders live: tr640 under $XDG_DATA_HOME (~/.local/share/tr640), the application's
// directory on Windows (%APPDATA%\tr640 when that takes no files). Backups go into its "backups",
// traces into its "traces".
QString DefaultDataDirectory();
QString BackupDirectory(const QString& dataDirectory);
QString TraceDirectory(const QString& dataDirectory);

// What a kept codeplug is: read from a radio, read from it just before a write, or written.
enum class ImageKind { Read, BeforeWrite, Written };
// "400-470MHz-read", "400-470MHz-before-write", "136-174MHz-write".
QString BackupLabel(int band, ImageKind kind);

class RotatingFolder {
public:
    RotatingFolder(const QString& directory, const QString& extension, int keep);

    const QString& directory() const { return directory_; }
    void setDirectory(const QString& directory) { directory_ = directory; }

    // Writes `bytes` to a new file (atomically; the folder is made when missing), then removes
    // the oldest beyond the limit. Returns the new file's path, or an empty string with the
    // reason in `status`.
    QString store(const QDateTime& when, const QString& label, QByteArrayView bytes,
                  FileStatus* status = nullptr);

    // The folder's own files, oldest first.
    QStringList files() const;
    QString newest() const;

private:
    void prune() const;

    QString directory_;
    QString extension_;
    int keep_;
};

} // namespace tr640::link
