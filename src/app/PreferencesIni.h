#pragma once

// The INI file `preferences.ini` beside `parameter`, for the preferences that do not fit in its
// three bytes: the port chosen by name and the checks of a write. Earlier versions kept these
// in the files `port` and `writechecks`; one found there is carried into the INI file once and
// then removed, so the user keeps the choice.

#include <QByteArrayView>
#include <QSettings>
#include <QString>
#include <functional>
#include <memory>

namespace tr640 {

// The INI file of a preferences directory. A file too large to be one of ours, or not an INI
// file at all, is removed: its values are the defaults.
std::unique_ptr<QSettings> OpenPreferencesIni(const QString& directory);

// Writes the INI file out; false when it could not be written.
bool SavePreferencesIni(QSettings& ini);

// Carries the earlier file `name` of the directory, if there is one, into the INI file: `carry`
// gets its first `limit` bytes and sets the values they hold. The old file is removed once the
// INI file is written.
void CarryOverOldFile(const QString& directory, const QString& name, qsizetype limit,
                      const std::function<void(QByteArrayView, QSettings&)>& carry);

// A flag as the INI file holds it: "true" or "false"; anything else reads as false.
bool IniFlag(const QSettings& ini, QAnyStringView key);

} // namespace tr640
