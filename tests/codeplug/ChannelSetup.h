#pragma once

#include "codeplug/EditorState.h"
#include "codeplug/ToneTable.h"

namespace tr640::test {

// A channel filled the way the grid editor fills a new one, then adjusted; an empty TX tone
// goes with an empty TX frequency, as the decoder leaves it.
inline void SetChannel(EditorState& s, int row, const QString& rx, const QString& rxTone,
                       const QString& tx, const QString& txTone, int power = 1, int bclo = 0,
                       int wide = 1, int scan = 1) {
    s.cell(row, ColRxFrequency) = rx;
    s.cell(row, ColTxFrequency) = tx;
    s.cell(row, ColRxTone) = rxTone;
    s.listIndex(row, ColRxTone) = ToneListPosition(rxTone);
    s.cell(row, ColTxTone) = txTone;
    s.listIndex(row, ColTxTone) = txTone.isEmpty() ? 0 : ToneListPosition(txTone);
    const int flags[] = {power, bclo, wide, scan};
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(row, col, flags[col - ColPower]);
}

} // namespace tr640::test
