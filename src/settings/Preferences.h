#pragma once

// The preferences kept between runs: the lock, the port and the language (the three-byte file
// `parameter`) and a port chosen by name (preferences.ini). The application reads and writes
// the files (app/Preferences.h); the main window is given the values and reports them on exit.

#include <QString>

namespace tr640 {

struct Preferences {
    bool Locked = false;
    int ComPortNumber = 0; // 1..8, 0 for none
    int Language = 0;      // 0 Chinese, 1 English
    QString PortName;      // a port chosen by name while ComPortNumber is 0

    bool operator==(const Preferences&) const = default;
};

} // namespace tr640
