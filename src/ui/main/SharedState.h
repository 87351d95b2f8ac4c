#pragma once

// The state that the main window and the dialogs share: the codeplug document and the flags that
// several windows read and set. The main window owns the one instance.

#include "document/CodeplugDocument.h"

#include <QString>
#include <functional>

namespace tr640 {

// Seconds since midnight of the local clock, as a floating value.
double SecondsSinceMidnight();

struct SharedState {
    // The codeplug being edited, and its state for those who read it or prepare it in a test.
    CodeplugDocument Document;
    EditorState& Editor = Document.state();

    // Serial port chosen from the port menu: 1..8 for COM1..COM8, 0 for none. A port chosen by
    // name (a USB adapter, a pseudo-terminal) is kept in PortName while ComPortNumber is 0.
    int ComPortNumber = 0;
    QString PortName;

    bool ServiceMode = false;

    // Hidden gestures: the debug dialog's two labels share A and B with the main window's
    // first two labels.
    bool GestureFlagA = false;
    bool GestureFlagB = false;
    bool GestureFlagC = false;
    qint32 GestureStart = 0;

    // The clock the gestures and double clicks read; tests replace it.
    std::function<double()> Clock = SecondsSinceMidnight;
};

} // namespace tr640
