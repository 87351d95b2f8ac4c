#pragma once

// The checks of the Programming menu that make a write safer, kept between runs in the INI file
// beside `parameter` (app/PreferencesIni.h), in the group [write]. A missing or damaged value
// reads as off. Earlier versions kept them in the small text file `writechecks`:
//
//   backup-before-write=1
//   verify-after-write=0
//   preview-before-write=0
//
// where unknown lines are ignored; such a file is carried over once.

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

// The text of a `writechecks` file.
WriteChecks ParseWriteChecks(QByteArrayView text);

WriteChecks LoadWriteChecks(const QString& directory);
bool SaveWriteChecks(const QString& directory, const WriteChecks& checks);

} // namespace tr640
