#pragma once

// What CHIRP's CSV import and export share: its frequency numbers, its columns and a row's
// fields read through them, and the values of one channel on their way into the grid.

#include "codeplug/ChirpCsv.h"
#include "codeplug/CsvText.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>

namespace tr640::chirp {

// ---------------------------------------------------------------------------------------------
// Numbers: exact decimal arithmetic on frequencies, which never go through floating point until
// they are handed to the grid's own formatting.

// Digits with an optional point as an integer scaled by 10^decimals; digits beyond `decimals`
// must be zeros. No sign, no exponent, at most nine whole digits.
std::optional<qint64> ParseScaled(QStringView t, int decimals);

// CHIRP's frequency forms, in hertz: "N" or "N MHz" in MHz, "N kHz" in kHz.
std::optional<qint64> ParseFrequencyHz(const QString& field);

// CHIRP's "%i.%06i" of a frequency in hertz.
QString HzText(qint64 hz);

// ---------------------------------------------------------------------------------------------
// Columns.

enum Column : int {
    CLocation,
    CFrequency,
    CDuplex,
    COffset,
    CTone,
    CRTone,
    CCTone,
    CDtcsCode,
    CDtcsPolarity,
    CRxDtcsCode,
    CCrossMode,
    CMode,
    CSkip,
    CPower,
    CBclo,
    CName,
    CComment,
    kColumnCount
};

inline constexpr std::array<const char*, kColumnCount> kColumnNames{
    "Location",  "Frequency", "Duplex",       "Offset",     "Tone",      "rToneFreq",
    "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",
    "Skip",      "Power",     "BCLO",         "Name",       "Comment"};

// The word in the Comment that marks busy-channel lock-out, which CHIRP has no column for.
inline constexpr const char* kBcloComment = "BCLO";

// Where each column is in a header: its field index, or -1 when the header lacks it.
struct Columns {
    std::array<qsizetype, kColumnCount> index{};
    qsizetype headerSize = 0;

    bool has(Column c) const { return index[c] >= 0; }
};

// Names are matched with blanks around them and letter case ignored; the first of two equal
// names counts.
Columns MapColumns(const QStringList& header);

// A row's fields, read through the header's columns. Only made of records that have at least
// as many fields as the header.
class Row {
public:
    Row(const CsvRecord& record, const Columns& columns, bool decimalComma = false)
        : record_(record), columns_(columns), decimalComma_(decimalComma) {}

    bool has(Column c) const { return columns_.has(c); }
    // The field, trimmed; empty when the column is absent. Where fields are not separated by
    // commas, a comma is a decimal point (146,52).
    QString field(Column c) const;
    // No frequency at all, or zero: CHIRP passes over such rows.
    bool noFrequency() const;
    // The Comment marks BCLO (this tool's own exports).
    bool bcloComment() const;
    // A name or a comment other than that mark, which the radio cannot keep.
    bool hasText() const;

private:
    const CsvRecord& record_;
    const Columns& columns_;
    bool decimalComma_;
};

// ---------------------------------------------------------------------------------------------
// One channel as the import puts it into the grid.

struct ToneCell {
    QString text; // empty: no tone
    int position = 0;
};

struct ChannelValues {
    QString rx;
    QString tx; // empty: no transmit frequency
    ToneCell rxTone;
    ToneCell txTone;
    int power = 1;
    int bclo = 0;
    int wide = 1;
    int scan = 1;
};

// A row's values or the reason it is refused.
struct RowResult {
    ChannelValues values;
    CsvReason reason = CsvReason::None;
    QStringList args;
};

RowResult Refuse(CsvReason reason, QStringList args = {});

} // namespace tr640::chirp
