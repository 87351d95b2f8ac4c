#pragma once

// The preferences kept between runs: the three-byte file `parameter` (lock, port, language)
// and, in the INI file beside it (app/PreferencesIni.h), the name of a port chosen by name.

#include "settings/Preferences.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tr640 {

// Where the files live: the application's directory on Windows (%APPDATA%\tr640 when that
// takes no files), the user's configuration folder (tr640 under $XDG_CONFIG_HOME) elsewhere.
QString DefaultPreferencesDirectory();

// The three bytes, read as 0 past the end of a short file. A damaged byte reads as its default:
// a port above 8 as none, a language other than 0 and 1 as Chinese. `port` is the port name in
// UTF-8; one that is too long, not UTF-8, blank or holds control characters is no name.
Preferences ParsePreferences(QByteArrayView parameter, QByteArrayView port);
QByteArray SerializeParameter(const Preferences& p);

// Load creates an empty `parameter` when there is none; Save writes both files atomically.
Preferences LoadPreferences(const QString& directory);
bool SavePreferences(const QString& directory, const Preferences& p);

} // namespace tr640
