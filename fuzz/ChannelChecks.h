#pragma once

// Checks on the channel grid shared by the targets that fill it from outside.

#include "codeplug/BandTable.h"
#include "codeplug/ChannelRules.h"
#include "codeplug/EditorState.h"

namespace tr640::fuzz {

// What the grid's editors would accept in this cell of a channel in use, for its band.
inline bool Acceptable(const EditorState& s, int row, int col) {
    const QString& text = s.cell(row, col);
    const QString band = QString::fromLatin1(Band(s.Band).text);
    const bool receiveOnly = s.cell(row, ColTxFrequency).isEmpty();
    if ((col == ColTxFrequency || col == ColTxTone) && text.isEmpty() && receiveOnly)
        return true;
    if (IsFrequencyColumn(col))
        return ChannelFrequency(text, BandLowFromText(band), BandHighFromText(band)) == text;
    if (IsToneColumn(col)) {
        const auto tone = ChannelTone(text, s.Language);
        return tone && tone->text == text && tone->position == s.listIndex(row, col);
    }
    const auto entry = FlagEntry(col, text);
    return entry && *entry == s.listIndex(row, col);
}

inline bool AllAcceptable(const EditorState& s) {
    for (int row = 1; row <= kChannelCount; ++row)
        for (int col = ColRxFrequency; col < kGridColumns && s.channelInUse(row); ++col)
            if (!Acceptable(s, row, col))
                return false;
    return true;
}

inline bool SameChannel(const EditorState& a, const EditorState& b, int row) {
    for (int col = ColRxFrequency; col < kGridColumns; ++col)
        if (a.cell(row, col) != b.cell(row, col))
            return false;
    return true;
}

inline bool SameChannels(const EditorState& a, const EditorState& b) {
    for (int row = 1; row <= kChannelCount; ++row)
        if (!SameChannel(a, b, row))
            return false;
    return true;
}

} // namespace tr640::fuzz
