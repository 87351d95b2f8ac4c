#pragma once

#include "codeplug/BiText.h"
#include "codeplug/EditorState.h"

namespace tr640::test {

// Channels 1 to 4 in use, message line 1 "ABC", band 400-470MHz, English texts.
inline EditorState Customer() {
    EditorState s;
    s.Language = English;
    const char* rx[] = {"435.02500", "436.12500", "435.12500", "438.00000"};
    for (int row = 1; row <= 4; ++row) {
        s.cell(row, ColRxFrequency) = s.cell(row, ColTxFrequency) = rx[row - 1];
        for (int col : {ColRxTone, ColTxTone})
            s.setListCell(row, col, 0);
        for (int col = ColPower; col <= ColScanAdd; ++col)
            s.setListCell(row, col, 1);
    }
    s.Settings.EmbeddedMessage[0] = "ABC";
    return s;
}

} // namespace tr640::test
