#pragma once

// The texts of the radio link, in Chinese and English (language 1).

#include <QString>

namespace tr640::link {

enum class LinkText {
    None,
    Communicating, // status line while a transfer runs
    ReadSuccess,   // status line results
    WriteSuccess,
    BandRefused,
    BandQuestion,       // the service-mode question, also the status line after No
    CommunicationError, // message box after the watchdog
    PortNotOpen,        // message box of the start commands
};

QString LinkTextFor(LinkText id, int language);

// "Serial port n has been other programs use, ..." for the port menu, n = 1..8.
QString PortInUseText(int portNumber, int language);

} // namespace tr640::link
