#pragma once

// A codeplug with every channel in use, tones, flags and a few settings set, so that every field
// of the image is encoded from real values. Band 0 (400-470 MHz), the simulator's default.

#include "codeplug/EditorState.h"

#include <QString>

namespace tr640::bench {

inline EditorState SampleCodeplug() {
    EditorState s;
    for (int row = 1; row <= kChannelCount; ++row) {
        s.cell(row, ColRxFrequency) = QString::number(430.0 + row * 0.5 + 0.00625, 'f', 5);
        s.cell(row, ColTxFrequency) = QString::number(440.0 + row * 0.5 + 0.0125, 'f', 5);
        s.setListCell(row, ColRxTone, row % 40);
        s.setListCell(row, ColTxTone, (row * 3) % 80);
        for (int col = ColPower; col <= ColScanAdd; ++col)
            s.setListCell(row, col, (row + col) % 2);
    }
    s.Settings.EmbeddedMessage[0] = QStringLiteral("TR-640 BENCH");
    s.Settings.TxHighPower = 50;
    return s;
}

} // namespace tr640::bench
