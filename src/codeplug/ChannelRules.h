#pragma once

// What a channel cell may hold, as the grid editor enforces it: frequencies inside the band
// and on the 5 kHz / 6.25 kHz raster, tones the radio has, entries of the flag lists.

#include "codeplug/EditorState.h"

#include <QString>
#include <optional>

namespace tr640 {

enum class CellProblem {
    None,
    NotNumeric, // not a number (the grid editor ignores such a text)
    OutOfBand,  // outside the selected band's limits
    UnknownTone,
    UnknownEntry, // not an entry of the column's list
    EmptyChannel, // a channel starts with its receive frequency
};

// A typed frequency (MHz) checked against the band limits (whole MHz, inclusive), formatted
// "0.00000" and snapped onto the raster.
std::optional<QString> ChannelFrequency(const QString& typed, int bandLow, int bandHigh,
                                        CellProblem* problem = nullptr);

struct ToneValue {
    QString text;
    int position; // in the tone list, or kToneNotListed
};

// A tone: the OFF text of either language, an entry of the tone list, or a CTCSS value from
// 67.0 to 254.1 Hz written with one decimal.
std::optional<ToneValue> ChannelTone(const QString& text, int language);

// The position of a flag column's entry (either language), or nothing.
std::optional<int> FlagEntry(int column, const QString& text);

// A new channel receives: TX = RX, no tones, High, BCLO off, Wide, in the scan list.
void FillNewChannel(EditorState& state, int row, const QString& frequency);

// Sets one cell of a channel from a text, as the editors would: a receive frequency starts a
// channel with the defaults, an empty receive frequency deletes the channel. Returns the
// problem, the cell being left as it was, when the text is not acceptable.
CellProblem SetChannelCell(EditorState& state, int row, int column, const QString& text,
                           int bandLow, int bandHigh);

} // namespace tr640
