#pragma once

// The checks of the Programming menu that make a write safer, kept between runs in the
// small text file `writechecks` beside `parameter`:
//
//   backup-before-write=1
//   verify-after-write=0
//   preview-before-write=0
//
// Unknown lines are ignored and a missing or damaged file reads as both off.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tr640 {

struct WriteChecks {
    bool BackupFirst = false; // read the radio into a backup before writing
    bool Verify = false;      // read the radio back after writing and compare
    bool Preview = false;     // read the radio first and show what the write would change

    bool operator==(const WriteChecks&) const = default;
};

WriteChecks ParseWriteChecks(QByteArrayView text);
QByteArray SerializeWriteChecks(const WriteChecks& checks);

WriteChecks LoadWriteChecks(const QString& directory);
bool SaveWriteChecks(const QString& directory, const WriteChecks& checks);

} // namespace tr640
