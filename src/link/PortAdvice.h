#pragma once

// What to tell the user about a port: why it did not open and how to fix that, and which of
// the system's ports look like a programming cable.

#include "link/SerialLink.h"

#include <QString>

namespace tr640::link {

// The advice for a port that did not open, in the language given (0 Chinese, 1 English). It
// follows the in-use or not-open text, which stays first; empty for PortError::None.
QString PortProblemAdvice(const PortOpenResult& result, const QString& portName, int language);

// The usual chip of a programming cable for a "VID:PID" ("CH340" for 1A86:7523), or empty.
QString CableChip(const QString& usbId);

// A port as the port menu lists it: description, system name, USB id, and the cable chip.
QString PortMenuText(const PortInfo& port, int language);

} // namespace tr640::link
