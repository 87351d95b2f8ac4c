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

#include "settings/WriteChecks.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tr640 {

// The text of a `writechecks` file.
WriteChecks ParseWriteChecks(QByteArrayView text);

WriteChecks LoadWriteChecks(const QString& directory);
bool SaveWriteChecks(const QString& directory, const WriteChecks& checks);

} // namespace tr640
