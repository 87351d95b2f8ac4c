#include "codeplug/ChirpCsv.h"

#include "codeplug/BandTable.h"
#include "codeplug/ChirpFields.h"
#include "codeplug/ChirpTones.h"
#include "codeplug/FrequencySnap.h"
#include "codeplug/ListTexts.h"
#include "codeplug/Numbers.h"

#include <array>
#include <initializer_list>
#include <utility>

namespace tr640 {

namespace {

using namespace chirp;

struct BandLimits {
    int low = 0;
    int high = 0;
    QString text;
};

// A frequency as the grid stores it, or nothing when outside the band.
std::optional<QString> GridFrequency(qint64 hz, const BandLimits& band) {
    const double mhz = static_cast<double>(hz) / 1e6;
    if (mhz < band.low || mhz > band.high)
        return std::nullopt;
    return ChannelFrequencyText(SnapFrequency(ChannelFrequencyText(mhz)));
}

// A flag field matched against its accepted words (any letter case) and, when given, the
// texts of the grid's list in either language; empty gives `empty`.
std::optional<int> FlagWord(const QString& value, int empty,
                            std::initializer_list<std::pair<const char*, int>> words,
                            const std::array<BiText, 2>* list = nullptr) {
    if (value.isEmpty())
        return empty;
    for (const auto& [word, position] : words)
        if (value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return position;
    for (int p = 0; list && p < 2; ++p)
        if ((*list)[p].matches(value))
            return p;
    return std::nullopt;
}

std::optional<int> PowerPosition(const QString& value) {
    if (const std::optional<int> word =
            FlagWord(value, 1, {{"High", 1}, {"H", 1}, {"Low", 0}, {"L", 0}}, &kPowerList))
        return word;
    QString watts = value;
    if (watts.endsWith(u'W', Qt::CaseInsensitive))
        watts.chop(1);
    watts = watts.trimmed();
    if (watts.startsWith(u'-') || watts.startsWith(u'+') || !IsNumeric(watts))
        return std::nullopt;
    return LeadingNumber(watts) >= 2.5 ? 1 : 0;
}

RowResult ReadRow(const Row& row, const BandLimits& band) {
    ChannelValues v;
    const QString frequency = row.field(CFrequency);
    if (frequency.isEmpty())
        return Refuse(CsvReason::MissingFrequency);
    const std::optional<qint64> rxHz = ParseFrequencyHz(frequency);
    if (!rxHz)
        return Refuse(CsvReason::BadFrequency, {frequency});
    const std::optional<QString> rx = GridFrequency(*rxHz, band);
    if (!rx)
        return Refuse(CsvReason::RxOutOfBand, {HzText(*rxHz), band.text});
    v.rx = *rx;

    const QString duplex = row.field(CDuplex).toLower();
    const bool plus = duplex == QLatin1String("+");
    const bool shift = plus || duplex == QLatin1String("-");
    if (duplex.isEmpty()) {
        v.tx = v.rx;
    } else if (shift || duplex == QLatin1String("split")) {
        const QString offset = row.field(COffset);
        if (offset.isEmpty())
            return Refuse(CsvReason::MissingOffset, {duplex});
        const std::optional<qint64> offsetHz = ParseFrequencyHz(offset);
        if (!offsetHz)
            return Refuse(CsvReason::BadOffset, {offset});
        const qint64 txHz = shift ? *rxHz + (plus ? *offsetHz : -*offsetHz) : *offsetHz;
        const std::optional<QString> tx = GridFrequency(txHz, band);
        if (!tx)
            return Refuse(CsvReason::TxOutOfBand, {HzText(txHz), band.text});
        v.tx = *tx;
    } else if (duplex != QLatin1String("off")) {
        return Refuse(CsvReason::BadDuplex, {row.field(CDuplex)});
    }

    const QString mode = row.field(CMode);
    const std::optional<int> wide =
        FlagWord(mode, 1, {{"FM", 1}, {"NFM", 0}, {"Wide", 1}, {"Narrow", 0}}, &kBandwidthList);
    if (!wide)
        return Refuse(CsvReason::BadMode, {mode});
    v.wide = *wide;
    const QString power = row.field(CPower);
    const std::optional<int> high = PowerPosition(power);
    if (!high)
        return Refuse(CsvReason::BadPower, {power});
    v.power = *high;
    const QString skip = row.field(CSkip);
    const std::optional<int> scan = FlagWord(skip, 1, {{"S", 0}, {"P", 1}});
    if (!scan)
        return Refuse(CsvReason::BadSkip, {skip});
    v.scan = *scan;
    // A BCLO column (earlier exports) speaks first, then the comment.
    const QString bclo = row.field(CBclo);
    const std::optional<int> carrier = FlagWord(
        bclo, row.bcloComment() ? 1 : 0, {{"On", 1}, {"Off", 0}, {"Carrier", 1}}, &kBcloList);
    if (!carrier)
        return Refuse(CsvReason::BadBclo, {bclo});
    v.bclo = *carrier;

    return ReadTones(row, v);
}

// Location as a whole number, or nothing.
std::optional<int> LocationNumber(const QString& field) {
    const QString s = field.trimmed();
    if (s.isEmpty() || s.size() > 9)
        return std::nullopt;
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return s.toInt();
}

void PutTone(EditorState& s, int row, int col, const ToneCell& tone, bool emptyWhenNone) {
    if (!tone.text.isEmpty()) {
        s.cell(row, col) = tone.text;
        s.listIndex(row, col) = tone.position;
    } else if (emptyWhenNone) {
        s.cell(row, col).clear();
        s.listIndex(row, col) = 0;
    } else {
        s.setListCell(row, col, 0);
    }
}

// Writes a channel as the grid holds it; a channel without a transmit frequency and without a
// transmit tone has an empty transmit tone cell, as the decoder leaves it.
void PutChannel(EditorState& s, int row, const ChannelValues& v) {
    s.ClearNO(row);
    s.cell(row, ColRxFrequency) = v.rx;
    s.cell(row, ColTxFrequency) = v.tx;
    PutTone(s, row, ColRxTone, v.rxTone, false);
    PutTone(s, row, ColTxTone, v.txTone, v.tx.isEmpty());
    s.setListCell(row, ColPower, v.power);
    s.setListCell(row, ColBclo, v.bclo);
    s.setListCell(row, ColBandwidth, v.wide);
    s.setListCell(row, ColScanAdd, v.scan);
}

} // namespace

CsvImportResult ImportChirpCsv(QByteArrayView file, const EditorState& base,
                               const CsvImportOptions& options) {
    CsvImportResult result;
    result.state = base;
    result.others = options.others;
    if (file.size() > kMaxCsvFileSize) {
        result.fileIssue = {0, CsvReason::FileTooLarge, {QString::number(kMaxCsvFileSize)}};
        return result;
    }
    // UTF-16 (a byte-order mark, or the zero bytes of ASCII text) is named, not misread.
    const auto zero = [&file](qsizetype i) { return i < file.size() && file[i] == '\0'; };
    if (file.startsWith("\xFF\xFE") || file.startsWith("\xFE\xFF") || (zero(1) && zero(3)) ||
        (file.size() > 3 && zero(0) && zero(2))) {
        result.fileIssue = {0, CsvReason::Utf16, {}};
        return result;
    }
    QString text = QString::fromUtf8(file);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const QChar separator = CsvSeparator(text, u"Frequency");
    const bool decimalComma = separator != u',';
    CsvReader reader(text, separator);
    CsvRecord header;
    if (!reader.next(&header)) {
        result.fileIssue = {0, CsvReason::NoHeader, {}};
        return result;
    }
    const Columns columns = MapColumns(header.fields);
    if (!columns.has(CFrequency)) {
        result.fileIssue = {header.line, CsvReason::NoFrequencyColumn, {}};
        return result;
    }

    CsvPlacement placement = options.placement;
    if (placement == CsvPlacement::Automatic) {
        // By Location when every row that has a Location field holds 1 to 16 there.
        bool allChannels = columns.has(CLocation);
        CsvReader pass = reader;
        CsvRecord r;
        while (allChannels && pass.next(&r)) {
            if (r.fields.size() < columns.headerSize || Row(r, columns, decimalComma).noFrequency())
                continue;
            const std::optional<int> n = LocationNumber(r.fields[columns.index[CLocation]]);
            allChannels = n && *n >= 1 && *n <= kChannelCount;
        }
        placement = allChannels ? CsvPlacement::ByLocation : CsvPlacement::InOrder;
    }
    result.placement = placement;

    BandLimits band;
    band.text = QString::fromLatin1(Band(base.Band).text);
    band.low = BandLowFromText(band.text);
    band.high = BandHighFromText(band.text);

    std::array<int, kChannelCount + 1> takenBy{}; // line of the row that set a channel
    std::array<ChannelValues, kChannelCount + 1> channels;
    int next = 1;
    CsvRecord record;
    while (reader.next(&record)) {
        const auto reject = [&](CsvReason reason, QStringList args = {}) {
            result.rejected.append(CsvIssue{record.line, reason, std::move(args)});
        };
        if (record.unterminated) {
            reject(CsvReason::UnterminatedQuote);
            continue;
        }
        if (record.fields.size() < columns.headerSize) {
            reject(CsvReason::TooFewFields,
                   {QString::number(record.fields.size()), QString::number(columns.headerSize)});
            continue;
        }
        const Row row(record, columns, decimalComma);
        if (row.noFrequency()) {
            result.skipped.append(record.line);
            continue;
        }
        int channel = 0;
        if (placement == CsvPlacement::ByLocation) {
            const QString location = row.field(CLocation);
            const std::optional<int> n = LocationNumber(location);
            if (!n) {
                reject(CsvReason::BadLocation, {location});
                continue;
            }
            if (*n < 1 || *n > kChannelCount) {
                reject(CsvReason::LocationOutOfRange, {QString::number(*n)});
                continue;
            }
            channel = *n;
        }
        const RowResult read = ReadRow(row, band);
        if (read.reason != CsvReason::None) {
            reject(read.reason, read.args);
            continue;
        }
        if (placement == CsvPlacement::InOrder) {
            if (next > kChannelCount) {
                reject(CsvReason::NoFreeChannel);
                continue;
            }
            channel = next++;
        } else if (takenBy[channel] != 0) {
            reject(CsvReason::DuplicateLocation,
                   {QString::number(channel), QString::number(takenBy[channel])});
            continue;
        }
        result.textsDropped = result.textsDropped || row.hasText();
        takenBy[channel] = record.line;
        channels[channel] = read.values;
        result.imported.append({record.line, channel});
    }

    if (options.others == CsvChannelsNotInFile::Cleared)
        result.state.ClearGrid();
    for (const CsvAssignment& a : result.imported)
        PutChannel(result.state, a.channel, channels[a.channel]);
    return result;
}

} // namespace tr640
