#pragma once

// Channel lists in CHIRP's generic CSV format.
//
// Export writes the channels in use, one row each, with CHIRP's own header; a channel with
// busy-channel lock-out has "BCLO" in its Comment, which CHIRP keeps. Import reads what CHIRP
// writes and what people edit by hand into a copy of an editor state; nothing changes until
// the caller takes the copy.
//
// Import rules:
// - Columns are matched by name (blanks around it and letter case ignored), in any order and
//   any subset; only a Frequency column is required. A column that is absent takes CHIRP's
//   default (no duplex, no tone, 88.5 Hz, code 023, polarity NN, FM, not skipped, high power,
//   BCLO off unless the Comment holds the word BCLO). A field the row needs that is empty or
//   unreadable rejects the row; empty Duplex, Tone, DtcsPolarity, Mode, Skip, Power and BCLO fields
//   mean the default. Duplex
//   "+", "-" (Offset is the shift) and "split" (Offset is the transmit frequency) need an
//   Offset; "off" means no transmit frequency. Power is in watts (2.5 W or more is High) or
//   High/Low. Rows with fewer fields than the header are rejected, as CHIRP does.
// - When only one of rToneFreq and cToneFreq is present it serves for both, and without
//   RxDtcsCode the receive DCS of a cross mode is DtcsCode (older CHIRP files).
// - CTCSS tones are accepted from 67.0 to 254.1 Hz, any value the grid's tone editor takes, not
//   only the 50 listed ones; the value is kept with one decimal. DCS codes must be one of the
//   105 the radio has, either polarity (CHIRP's R is the radio's I).
// - TSQL-R and DTCS-R (squelch that closes on the tone) do not exist on this radio: such rows
//   are rejected rather than imported with the opposite meaning. So are modes other than FM
//   (wide) and NFM (narrow).
// - Frequencies are checked against the state's band and snapped onto the 5 kHz / 6.25 kHz
//   raster exactly as the grid editor does when they are typed.
// - Fields are separated by commas, or by semicolons or tabs as spreadsheets save them (then a
//   decimal comma is read as a point); the header line tells which. UTF-16 files are refused
//   with a message that names the encoding.
// - Rows whose Frequency is empty or zero are skipped, as CHIRP skips them, and listed in the
//   summary. Names and comments are not kept; the summary says so when the file had any.
// - Blank rows and rows whose fields are all empty (spreadsheet padding) are skipped; a line
//   whose first field starts with '#' (quoted or not) is a comment, wherever it stands. Line
//   numbers are those of the file as a text editor shows them, comments included; a row is numbered
//   by the line where it starts. A rejected row is reported with the first problem found in it.

#include "codeplug/EditorState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace tr640 {

// Files larger than this are refused as a whole (a full CHIRP list of 1000 channels is about
// a tenth of it).
inline constexpr qsizetype kMaxCsvFileSize = 1024 * 1024;

// CHIRP's header as it writes it.
QString ChirpCsvHeader();

// The channels in use, in channel order, as CSV text with CRLF line ends (CHIRP's own), and the
// same as the UTF-8 bytes of a file.
QString ExportChirpCsv(const EditorState& state);
QByteArray ExportChirpCsvFile(const EditorState& state);

// Where the rows of a file go.
enum class CsvPlacement {
    Automatic,  // by Location when every row's Location is 1 to 16, otherwise in file order
    ByLocation, // row with Location n goes to channel n; other Locations are rejected
    InOrder,    // the accepted rows fill channels 1, 2, ... in file order; Location is ignored
};

// What happens to the channels the file does not set.
enum class CsvChannelsNotInFile {
    Cleared, // the file is the new channel list, as CHIRP replaces a list
    Kept,    // the file's channels are merged into the existing ones
};

struct CsvImportOptions {
    CsvPlacement placement = CsvPlacement::Automatic;
    CsvChannelsNotInFile others = CsvChannelsNotInFile::Cleared;
};

// Why a file or a row was not imported; i18n/CsvTexts.h has what the user reads.
enum class CsvReason {
    None,
    // The file as a whole.
    FileTooLarge,
    NoHeader,
    NoFrequencyColumn,
    Utf16,
    // One row.
    UnterminatedQuote,
    TooFewFields,
    BadLocation,
    LocationOutOfRange,
    DuplicateLocation,
    NoFreeChannel,
    MissingFrequency,
    BadFrequency,
    RxOutOfBand,
    BadDuplex,
    MissingOffset,
    BadOffset,
    TxOutOfBand,
    BadToneMode,
    ReverseToneMode,
    BadCrossMode,
    BadCtcss,
    BadDcs,
    BadPolarity,
    BadMode,
    BadPower,
    BadSkip,
    BadBclo,
};
inline constexpr int kCsvReasonCount = static_cast<int>(CsvReason::BadBclo) + 1;

// Why a row (or the file) was not imported.
struct CsvIssue {
    int line = 0; // 1 is the first line of the file
    CsvReason reason = CsvReason::None;
    QStringList args; // what the reason's placeholders show: the value at fault, a column...
};

// A row that was imported, and the channel it went to.
struct CsvAssignment {
    int line = 0;
    int channel = 0;
};

struct CsvImportResult {
    EditorState state;  // the base state with the file's channels in it
    CsvIssue fileIssue; // reason None unless the file could not be read at all
    CsvPlacement placement = CsvPlacement::InOrder; // as decided: ByLocation or InOrder
    CsvChannelsNotInFile others = CsvChannelsNotInFile::Cleared;
    QList<CsvAssignment> imported; // in file order
    QList<CsvIssue> rejected;      // in file order
    QList<int> skipped;            // lines of the rows without a frequency
    bool textsDropped = false;     // an imported row had a name or a comment

    bool fileReadable() const { return fileIssue.reason == CsvReason::None; }
    // Nothing was refused: taking the state loses nothing of the file.
    bool clean() const { return fileReadable() && rejected.isEmpty(); }
};

// Imports a CSV file's bytes (UTF-8, byte-order mark allowed) into a copy of `base`, whose band
// and language are used. When the file is unreadable the copy equals `base`.
CsvImportResult ImportChirpCsv(QByteArrayView file, const EditorState& base,
                               const CsvImportOptions& options = {});

} // namespace tr640
