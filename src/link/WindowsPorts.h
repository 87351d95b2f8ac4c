#pragma once

// Windows' side of the port list and of open failures, as plain text and number work so that
// every build can check it: SetupAPI's facts of a port become a PortInfo, ports sort by their
// COM number, and CreateFile's error codes become the reasons the user is told.

#include "link/SerialLink.h"

#include <QList>
#include <QString>

namespace tr640::link {

// The number of "COM12" (any case), 0 for any other name.
int ComNumber(const QString& name);

// A port from what SetupAPI reports of it: the port name ("COM3"), the friendly name
// ("USB-SERIAL CH340 (COM3)", which repeats the port name) and the first hardware id
// ("USB\VID_1A86&PID_7523&REV_0254", FTDI's driver "FTDIBUS\VID_0403+PID_6001+...").
PortInfo WindowsPort(const QString& portName, const QString& friendlyName,
                     const QString& hardwareId);

// COM ports by number, then any other names in alphabetical order.
void SortByComNumber(QList<PortInfo>& ports);

// Why CreateFile did not open a port, from GetLastError(): access denied and a sharing
// violation mean another program holds it, a missing file or path that there is no such port.
PortError ClassifyWin32OpenError(quint32 code);

} // namespace tr640::link
