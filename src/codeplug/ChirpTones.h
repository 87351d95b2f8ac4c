#pragma once

// CHIRP's tone modes (none, Tone, TSQL, DTCS, Cross) and the radio's separate transmit and
// receive tones, both ways.

#include "codeplug/ChirpFields.h"

#include <QString>

namespace tr640::chirp {

// The tone columns of an exported row, CHIRP's defaults where a column does not matter.
struct ChirpTones {
    QString mode;
    QString rtone = QStringLiteral("88.5");
    QString ctone = QStringLiteral("88.5");
    QString dtcs = QStringLiteral("023");
    QString polarity;
    QString rxDtcs = QStringLiteral("023");
    QString cross = QStringLiteral("Tone->Tone");
};

// The same choice CHIRP makes for radios with separate transmit and receive tones: Tone, TSQL
// and DTCS where they say it all, Cross otherwise. The cells are the grid's tone cells.
ChirpTones ChirpTonesOfCells(const QString& txCell, const QString& rxCell);

// The tone part of a row: `values` with the two directions' tone cells, or the reason for
// refusing the row. A tone column that is absent gives CHIRP's default value; a lone
// rToneFreq or cToneFreq serves both directions.
RowResult ReadTones(const Row& row, ChannelValues values);

} // namespace tr640::chirp
