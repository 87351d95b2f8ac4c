#include "codeplug/EditorState.h"

#include "codeplug/ListTexts.h"
#include "codeplug/ToneTable.h"

namespace tr640 {

EditorState::EditorState() {
    for (int row = 1; row <= kChannelCount; ++row)
        cell(row, ColNumber) = QString::number(row).rightJustified(2, u'0');
}

void EditorState::setListCell(int row, int col, int position) {
    listIndex(row, col) = position;
    cell(row, col) = IsToneColumn(col) ? ToneListText(position, Language)
                                       : FlagListText(col, position, Language);
}

void EditorState::ClearNO(int row) {
    for (int col = ColRxFrequency; col <= ColScanAdd; ++col) {
        cell(row, col).clear();
        if (col >= ColRxTone)
            listIndex(row, col) = 0;
    }
}

void EditorState::ClearGrid() {
    for (int row = 1; row <= kChannelCount; ++row)
        ClearNO(row);
}

void EditorState::ClearGrid1() {
    for (int row = 1; row <= kChannelCount; ++row)
        if (channelInUse(row))
            for (int col = ColRxFrequency; col <= ColScanAdd; ++col)
                cell(row, col).clear();
}

void EditorState::SetGrid1Text() {
    for (int row = 1; row <= kChannelCount; ++row) {
        if (!channelInUse(row))
            continue;
        for (int col = ColRxTone; col <= ColScanAdd; ++col) {
            if (IsToneColumn(col)) {
                // Only OFF is language-dependent; tones and DCS codes stay as they are.
                if (listIndex(row, col) == 0)
                    cell(row, col) = kToneOff.text(Language);
            } else if (IsFlagColumn(col)) {
                cell(row, col) = FlagListText(col, listIndex(row, col), Language);
            }
        }
    }
}

} // namespace tr640
