#include "codeplug/ChirpCsv.h"

#include "codeplug/BandTable.h"
#include "codeplug/CsvText.h"
#include "codeplug/FrequencySnap.h"
#include "codeplug/ListTexts.h"
#include "codeplug/Numbers.h"
#include "codeplug/ToneTable.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <utility>

namespace tr640 {

namespace {

// ---------------------------------------------------------------------------------------------
// Texts.

struct ReasonText {
    CsvReason reason;
    BiText text;
};

constexpr std::array<ReasonText, kCsvReasonCount> kReasonTexts{{
    {CsvReason::None, {"", ""}},
    {CsvReason::FileTooLarge,
     {"文件太大（超过 %1 字节）", "the file is too large (over %1 bytes)"}},
    {CsvReason::NoHeader, {"文件中没有标题行", "the file has no header line"}},
    {CsvReason::NoFrequencyColumn,
     {"标题行中没有 Frequency 列", "the header has no Frequency column"}},
    {CsvReason::Utf16,
     {"文件是 UTF-16 编码的，请另存为 UTF-8 编码的 CSV 文件",
      "the file is in UTF-16; save it as CSV in UTF-8"}},
    {CsvReason::UnterminatedQuote, {"引号没有闭合", "a quoted field is not closed"}},
    {CsvReason::TooFewFields,
     {"该行只有 %1 个字段，标题行有 %2 个", "the row has %1 fields, the header %2"}},
    {CsvReason::BadLocation, {"Location“%1”不是整数", "Location \"%1\" is not a whole number"}},
    {CsvReason::LocationOutOfRange,
     {"Location %1 不是本机的频道（1-16）", "Location %1 is not a channel of this radio (1-16)"}},
    {CsvReason::DuplicateLocation,
     {"频道 %1 已由第 %2 行设置", "channel %1 is already set by line %2"}},
    {CsvReason::NoFreeChannel, {"16 个频道已全部占用", "all 16 channels are already taken"}},
    {CsvReason::MissingFrequency, {"没有频率", "no frequency"}},
    {CsvReason::BadFrequency, {"频率“%1”无法识别", "frequency \"%1\" is not a frequency"}},
    {CsvReason::RxOutOfBand,
     {"接收频率 %1 MHz 超出频段 %2", "receive frequency %1 MHz is beyond the band %2"}},
    {CsvReason::BadDuplex,
     {"Duplex“%1”无法识别（应为空、+、-、split 或 off）",
      "Duplex \"%1\" is not empty, +, -, split or off"}},
    {CsvReason::MissingOffset, {"Duplex 为 %1 时需要 Offset", "Duplex %1 needs an Offset"}},
    {CsvReason::BadOffset, {"Offset“%1”不是频率", "Offset \"%1\" is not a frequency"}},
    {CsvReason::TxOutOfBand,
     {"发射频率 %1 MHz 超出频段 %2", "transmit frequency %1 MHz is beyond the band %2"}},
    {CsvReason::BadToneMode, {"亚音模式“%1”无法识别", "tone mode \"%1\" is unknown"}},
    {CsvReason::ReverseToneMode,
     {"本机没有反向亚音静噪 %1", "this radio has no reverse squelch %1"}},
    {CsvReason::BadCrossMode, {"CrossMode“%1”无法识别", "CrossMode \"%1\" is unknown"}},
    {CsvReason::BadCtcss,
     {"%1“%2”不是本机的 CTCSS 亚音（67.0-254.1 Hz）",
      "%1 \"%2\" is not a CTCSS tone of this radio (67.0-254.1 Hz)"}},
    {CsvReason::BadDcs, {"%1“%2”不是本机的 DCS 码", "%1 \"%2\" is not a DCS code of this radio"}},
    {CsvReason::BadPolarity,
     {"DtcsPolarity“%1”无法识别（应为 NN、NR、RN 或 RR）",
      "DtcsPolarity \"%1\" is not NN, NR, RN or RR"}},
    {CsvReason::BadMode,
     {"Mode“%1”本机不支持（只有 FM 和 NFM）", "Mode \"%1\" is not available (FM or NFM only)"}},
    {CsvReason::BadPower,
     {"Power“%1”无法识别（应为瓦数、High 或 Low）", "Power \"%1\" is not watts, High or Low"}},
    {CsvReason::BadSkip,
     {"Skip“%1”无法识别（应为空、S 或 P）", "Skip \"%1\" is not empty, S or P"}},
    {CsvReason::BadBclo, {"BCLO“%1”无法识别（应为 On 或 Off）", "BCLO \"%1\" is not On or Off"}},
}};

constexpr bool InReasonOrder() {
    for (int i = 0; i < kCsvReasonCount; ++i)
        if (kReasonTexts[i].reason != static_cast<CsvReason>(i))
            return false;
    return true;
}
static_assert(InReasonOrder(), "kReasonTexts follows the order of CsvReason");

constexpr BiText kLineText{"第 %1 行：%2", "Line %1: %2"};
constexpr BiText kFileUnreadable{"无法导入该文件：%1", "The file cannot be imported: %1"};
constexpr BiText kCounts{"导入的频道：%1；拒绝的行：%2。",
                         "Channels imported: %1. Rows rejected: %2."};
constexpr BiText kPlacedByLocation{"各行按 Location 放入频道。",
                                   "Rows are placed by their Location."};
constexpr BiText kPlacedInOrder{"各行按文件顺序从频道 1 起依次放入。",
                                "Rows are placed in file order from channel 1."};
constexpr BiText kOthersCleared{"文件中没有的频道将被清除。",
                                "Channels not in the file will be cleared."};
constexpr BiText kOthersKept{"文件中没有的频道保持不变。",
                             "Channels not in the file stay as they are."};
constexpr BiText kSkipped{"跳过没有频率的行：%1（第 %2 行）。",
                          "Rows skipped without a frequency: %1 (line %2)."};
constexpr BiText kNamesNotKept{"本机没有频道名称：文件中的名称和注释不会保留。",
                               "The radio has no channel names: names and comments are not kept."};
constexpr BiText kMoreRows{"……另有 %1 行被拒绝", "... and %1 more rejected rows"};

// Replaces %1 to %9 in one pass, so that a value containing "%2" stays as it is.
QString Substitute(const QString& pattern, const QStringList& args) {
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' &&
            pattern[i + 1] <= u'9') {
            const qsizetype n = pattern[i + 1].unicode() - u'1';
            if (n < args.size()) {
                out += args[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// A field as it can be shown in a message: one line, not too long.
QString Shown(const QString& value) {
    constexpr qsizetype kLongest = 40;
    QString s = value.left(kLongest);
    for (QChar& c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    if (value.size() > kLongest)
        s += QChar(0x2026);
    return s;
}

// ---------------------------------------------------------------------------------------------
// Numbers: exact decimal arithmetic on frequencies, which never go through floating point until
// they are handed to the grid's own formatting.

// Digits with an optional point as an integer scaled by 10^decimals; digits beyond `decimals`
// must be zeros. No sign, no exponent, at most nine whole digits.
std::optional<qint64> ParseScaled(QStringView t, int decimals) {
    qint64 whole = 0;
    qint64 fraction = 0;
    int wholeDigits = 0;
    int fractionDigits = 0;
    bool point = false;
    bool extraNonZero = false;
    for (const QChar c : t) {
        if (c == u'.') {
            if (point)
                return std::nullopt;
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (!point) {
            if (++wholeDigits > 9)
                return std::nullopt;
            whole = whole * 10 + digit;
        } else if (fractionDigits < decimals) {
            ++fractionDigits;
            fraction = fraction * 10 + digit;
        } else {
            extraNonZero = extraNonZero || digit != 0;
        }
    }
    if (extraNonZero || (wholeDigits == 0 && fractionDigits == 0))
        return std::nullopt;
    qint64 scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    for (int k = fractionDigits; k < decimals; ++k)
        fraction *= 10;
    return whole * scale + fraction;
}

// CHIRP's frequency forms, in hertz: "N" or "N MHz" in MHz, "N kHz" in kHz.
std::optional<qint64> ParseFrequencyHz(const QString& field) {
    QString s = field.trimmed();
    int decimals = 6;
    if (s.endsWith(QLatin1String("mhz"), Qt::CaseInsensitive)) {
        s.chop(3);
    } else if (s.endsWith(QLatin1String("khz"), Qt::CaseInsensitive)) {
        s.chop(3);
        decimals = 3;
    }
    return ParseScaled(QStringView(s).trimmed(), decimals);
}

// CHIRP's "%i.%06i" of a frequency in hertz.
QString HzText(qint64 hz) {
    if (hz < 0)
        return u'-' + HzText(-hz);
    return QString::number(hz / 1000000) + u'.' +
           QString::number(hz % 1000000).rightJustified(6, u'0');
}

// A grid frequency text in CHIRP's form; a cell that is not a frequency is written as it is.
QString CellFrequencyText(const QString& cell) {
    const std::optional<qint64> hz = ParseScaled(cell, 6);
    return hz ? HzText(*hz) : cell;
}

// ---------------------------------------------------------------------------------------------
// The tones of a channel as CHIRP models them.

enum class Signal { None, Ctcss, Dcs };

struct Tone {
    Signal signal = Signal::None;
    int value = 0;         // CTCSS in tenths of a hertz, or the DCS code's octal value
    bool inverted = false; // DCS only
};

// The tone the encoder would write for a cell.
Tone ToneOfCell(const QString& cell) {
    const quint16 word = ToneWordFromText(cell);
    if (word == kNoToneWord)
        return {};
    const int top = word >> 12;
    if (top == 0x2 || top == 0xA)
        return {Signal::Dcs, word & 0x1FF, top == 0xA};
    return {Signal::Ctcss, word, false};
}

QString TenthsText(int tenths) {
    return QString::number(tenths / 10) + u'.' + QString::number(tenths % 10);
}

QString DcsDigits(int code) {
    return QString::number(code, 8).rightJustified(3, u'0');
}

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
// and DTCS where they say it all, Cross otherwise.
ChirpTones ChirpTonesOf(const Tone& tx, const Tone& rx) {
    ChirpTones t;
    const auto polarity = [](const Tone& tone) {
        return tone.signal == Signal::Dcs && tone.inverted ? u'R' : u'N';
    };
    t.polarity = QString(polarity(tx)) + polarity(rx);
    if (tx.signal == Signal::None && rx.signal == Signal::None)
        return t;
    if (tx.signal == Signal::Ctcss && rx.signal == Signal::None) {
        t.mode = QStringLiteral("Tone");
        t.rtone = TenthsText(tx.value);
        return t;
    }
    if (tx.signal == Signal::Ctcss && rx.signal == Signal::Ctcss && tx.value == rx.value) {
        t.mode = QStringLiteral("TSQL");
        t.ctone = TenthsText(tx.value);
        return t;
    }
    if (tx.signal == Signal::Dcs && rx.signal == Signal::Dcs && tx.value == rx.value) {
        t.mode = QStringLiteral("DTCS");
        t.dtcs = DcsDigits(tx.value);
        return t;
    }
    const auto name = [](Signal s) {
        return s == Signal::Ctcss ? QStringLiteral("Tone")
                                  : (s == Signal::Dcs ? QStringLiteral("DTCS") : QString());
    };
    t.mode = QStringLiteral("Cross");
    t.cross = name(tx.signal) + QStringLiteral("->") + name(rx.signal);
    if (tx.signal == Signal::Ctcss)
        t.rtone = TenthsText(tx.value);
    else if (tx.signal == Signal::Dcs)
        t.dtcs = DcsDigits(tx.value);
    if (rx.signal == Signal::Ctcss)
        t.ctone = TenthsText(rx.value);
    else if (rx.signal == Signal::Dcs)
        t.rxDtcs = DcsDigits(rx.value);
    return t;
}

// ---------------------------------------------------------------------------------------------
// Export.

constexpr const char* kBcloComment = "BCLO";

bool IsFlagEntry0(const EditorState& s, int row, int col) {
    return FlagList(col)[0].matches(s.cell(row, col));
}

// CSV quoting for a field that needs it.
QString CsvField(const QString& value) {
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\n') &&
        !value.contains(u'\r'))
        return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString TuningStep(const QString& rxCell) {
    const std::optional<qint64> hz = ParseScaled(rxCell, 6);
    if (!hz)
        return QStringLiteral("5.00");
    const qint64 belowHundredKhz = (*hz / 10) % 10000; // in 10 Hz, as the grid snaps
    return belowHundredKhz % 500 == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25");
}

QString ExportRow(const EditorState& s, int row) {
    const QString& rx = s.cell(row, ColRxFrequency);
    const QString& tx = s.cell(row, ColTxFrequency);
    QString duplex;
    QString offset = QStringLiteral("0.000000");
    if (tx.isEmpty())
        duplex = QStringLiteral("off");
    else if (tx != rx) {
        duplex = QStringLiteral("split");
        offset = CellFrequencyText(tx);
    }
    const ChirpTones tones =
        ChirpTonesOf(ToneOfCell(s.cell(row, ColTxTone)), ToneOfCell(s.cell(row, ColRxTone)));
    // Flag cells are read as the encoder reads them: an empty cell counts as entry 1, except
    // for Scan Add, whose empty cell is not in the list.
    const QString& scan = s.cell(row, ColScanAdd);
    const bool skipped = scan.isEmpty() || IsFlagEntry0(s, row, ColScanAdd);
    const QStringList fields{
        QString::number(row),
        QString(), // Name
        CellFrequencyText(rx), duplex, offset, tones.mode, tones.rtone, tones.ctone, tones.dtcs,
        tones.polarity, tones.rxDtcs, tones.cross,
        IsFlagEntry0(s, row, ColBandwidth) ? QStringLiteral("NFM") : QStringLiteral("FM"),
        TuningStep(rx), skipped ? QStringLiteral("S") : QString(),
        IsFlagEntry0(s, row, ColPower) ? QStringLiteral("1.0W") : QStringLiteral("5.0W"),
        // CHIRP has no busy-channel lock-out; it keeps the word in the comment.
        IsFlagEntry0(s, row, ColBclo) ? QString() : QString::fromLatin1(kBcloComment),
        QString(), // URCALL
        QString(), // RPT1CALL
        QString(), // RPT2CALL
        QString(), // DVCODE
    };
    QStringList quoted;
    for (const QString& f : fields)
        quoted << CsvField(f);
    return quoted.join(u',');
}

// ---------------------------------------------------------------------------------------------
// Import of one row.

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

constexpr std::array<const char*, kColumnCount> kColumnNames{
    "Location",  "Frequency", "Duplex",       "Offset",     "Tone",      "rToneFreq",
    "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",
    "Skip",      "Power",     "BCLO",         "Name",       "Comment"};

struct Columns {
    std::array<qsizetype, kColumnCount> index{};
    qsizetype headerSize = 0;

    bool has(Column c) const { return index[c] >= 0; }
};

Columns MapColumns(const QStringList& header) {
    Columns c;
    c.index.fill(-1);
    c.headerSize = header.size();
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString name = header[i].trimmed();
        for (int col = 0; col < kColumnCount; ++col)
            if (c.index[col] < 0 &&
                name.compare(QLatin1String(kColumnNames[col]), Qt::CaseInsensitive) == 0)
                c.index[col] = i;
    }
    return c;
}

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

struct BandLimits {
    int low = 0;
    int high = 0;
    QString text;
};

// A row's fields, read through the header's columns. Only called on rows that have at least
// as many fields as the header.
class Row {
public:
    Row(const CsvRecord& record, const Columns& columns, bool decimalComma = false)
        : record_(record), columns_(columns), decimalComma_(decimalComma) {}

    bool has(Column c) const { return columns_.has(c); }
    // The field, trimmed; empty when the column is absent. Where fields are not separated by
    // commas, a comma is a decimal point (146,52).
    QString field(Column c) const {
        QString f = has(c) ? record_.fields[columns_.index[c]].trimmed() : QString();
        if (decimalComma_ && c != CName && c != CComment)
            f.replace(u',', u'.');
        return f;
    }
    // No frequency at all, or zero: CHIRP passes over such rows.
    bool noFrequency() const {
        const std::optional<qint64> hz = ParseFrequencyHz(field(CFrequency));
        return field(CFrequency).isEmpty() || (hz && *hz == 0);
    }
    // The Comment marks BCLO (this tool's own exports).
    bool bcloComment() const {
        const QStringList words = field(CComment).split(u' ', Qt::SkipEmptyParts);
        return words.contains(QLatin1String(kBcloComment), Qt::CaseInsensitive);
    }
    // A name or a comment other than that mark, which the radio cannot keep.
    bool hasText() const {
        return !field(CName).isEmpty() ||
               (!field(CComment).isEmpty() &&
                field(CComment).compare(QLatin1String(kBcloComment), Qt::CaseInsensitive) != 0);
    }

private:
    const CsvRecord& record_;
    const Columns& columns_;
    bool decimalComma_;
};

// A row's values or the reason it is refused.
struct RowResult {
    ChannelValues values;
    CsvReason reason = CsvReason::None;
    QStringList args;
};

RowResult Refuse(CsvReason reason, QStringList args = {}) {
    RowResult r;
    r.reason = reason;
    r.args = std::move(args);
    return r;
}

// A frequency as the grid stores it, or nothing when outside the band.
std::optional<QString> GridFrequency(qint64 hz, const BandLimits& band) {
    const double mhz = static_cast<double>(hz) / 1e6;
    if (mhz < band.low || mhz > band.high)
        return std::nullopt;
    return ChannelFrequencyText(SnapFrequency(ChannelFrequencyText(mhz)));
}

std::optional<ToneCell> CtcssCell(const QString& field) {
    if (!IsNumeric(field))
        return std::nullopt;
    const double v = LeadingNumber(field);
    if (v < 67.0 || v > 254.1)
        return std::nullopt;
    ToneCell t;
    t.text = FormatFixed(v, 1);
    t.position = ToneListPosition(t.text);
    return t;
}

// CHIRP writes a DCS code as the decimal number made of its octal digits ("023").
std::optional<ToneCell> DcsCell(const QString& field, QChar polarity) {
    if (field.isEmpty() || field.size() > 6)
        return std::nullopt;
    int code = 0;
    for (const QChar c : field) {
        if (c < u'0' || c > u'7')
            return std::nullopt;
        code = code * 8 + (c.unicode() - u'0');
    }
    if (std::find(kDcsCodes.begin(), kDcsCodes.end(), code) == kDcsCodes.end())
        return std::nullopt;
    ToneCell t;
    t.text = u'D' + DcsDigits(code) + (polarity == u'R' ? u'I' : u'N');
    t.position = ToneListPosition(t.text);
    return t;
}

struct ToneRead {
    std::optional<ToneCell> cell;
    CsvReason reason = CsvReason::None;
    QStringList args;
};

// Reads the tone of one direction from the column that holds it. An absent column gives
// CHIRP's default value.
ToneRead ReadTone(const Row& row, Signal signal, Column column, QChar polarity) {
    ToneRead r;
    const QString name = QLatin1String(kColumnNames[column]);
    if (signal == Signal::None) {
        r.cell = ToneCell{};
        return r;
    }
    if (signal == Signal::Ctcss) {
        const QString value = row.has(column) ? row.field(column) : QStringLiteral("88.5");
        r.cell = CtcssCell(value);
        if (!r.cell) {
            r.reason = CsvReason::BadCtcss;
            r.args = {name, Shown(value)};
        }
        return r;
    }
    const QString value = row.has(column) ? row.field(column) : QStringLiteral("023");
    r.cell = DcsCell(value, polarity);
    if (!r.cell) {
        r.reason = CsvReason::BadDcs;
        r.args = {name, Shown(value)};
    }
    return r;
}

std::optional<Signal> CrossSide(const QString& side) {
    if (side.isEmpty())
        return Signal::None;
    if (side.compare(QLatin1String("Tone"), Qt::CaseInsensitive) == 0)
        return Signal::Ctcss;
    if (side.compare(QLatin1String("DTCS"), Qt::CaseInsensitive) == 0)
        return Signal::Dcs;
    return std::nullopt;
}

// The tone part of a row: the two directions' tone cells, or the reason for refusing it.
RowResult ReadTones(const Row& row, ChannelValues values) {
    const QString mode = row.field(CTone);
    Signal tx = Signal::None;
    Signal rx = Signal::None;
    // Where each direction's value is: CHIRP's columns, with a lone tone column serving both.
    const Column txTone = row.has(CRTone) || !row.has(CCTone) ? CRTone : CCTone;
    const Column rxTone = row.has(CCTone) || !row.has(CRTone) ? CCTone : CRTone;
    Column txColumn = txTone;
    Column rxColumn = rxTone;
    const auto is = [&](const char* name) {
        return mode.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (mode.isEmpty()) {
        // No tone either way.
    } else if (is("Tone")) {
        tx = Signal::Ctcss;
    } else if (is("TSQL")) {
        tx = rx = Signal::Ctcss;
        txColumn = rxTone;
    } else if (is("DTCS")) {
        tx = rx = Signal::Dcs;
        txColumn = rxColumn = CDtcsCode;
    } else if (is("TSQL-R") || is("DTCS-R")) {
        return Refuse(CsvReason::ReverseToneMode, {Shown(mode)});
    } else if (is("Cross")) {
        const QString cross =
            row.has(CCrossMode) ? row.field(CCrossMode) : QStringLiteral("Tone->Tone");
        const qsizetype arrow = cross.indexOf(QLatin1String("->"));
        const std::optional<Signal> t =
            arrow < 0 ? std::nullopt : CrossSide(cross.left(arrow).trimmed());
        const std::optional<Signal> r =
            arrow < 0 ? std::nullopt : CrossSide(cross.mid(arrow + 2).trimmed());
        if (!t || !r || (*t == Signal::None && *r == Signal::None))
            return Refuse(CsvReason::BadCrossMode, {Shown(cross)});
        tx = *t;
        rx = *r;
        if (tx == Signal::Dcs)
            txColumn = CDtcsCode;
        if (rx == Signal::Dcs)
            rxColumn = row.has(CRxDtcsCode) || !row.has(CDtcsCode) ? CRxDtcsCode : CDtcsCode;
    } else {
        return Refuse(CsvReason::BadToneMode, {Shown(mode)});
    }

    QString polarity = row.field(CDtcsPolarity).toUpper();
    if (polarity.isEmpty())
        polarity = QStringLiteral("NN");
    const auto polarityLetter = [](QChar c) { return c == u'N' || c == u'R' || c == u'I'; };
    if ((tx == Signal::Dcs || rx == Signal::Dcs) &&
        (polarity.size() != 2 || !polarityLetter(polarity[0]) || !polarityLetter(polarity[1])))
        return Refuse(CsvReason::BadPolarity, {Shown(row.field(CDtcsPolarity))});
    // The radio's I is CHIRP's R (reversed).
    const auto letter = [&](int k) {
        return polarity.size() > k && polarity[k] != u'N' ? QChar(u'R') : QChar(u'N');
    };

    const ToneRead t = ReadTone(row, tx, txColumn, letter(0));
    if (!t.cell)
        return Refuse(t.reason, t.args);
    const ToneRead r = ReadTone(row, rx, rxColumn, letter(1));
    if (!r.cell)
        return Refuse(r.reason, r.args);
    values.txTone = *t.cell;
    values.rxTone = *r.cell;
    RowResult ok;
    ok.values = values;
    return ok;
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
        return Refuse(CsvReason::BadFrequency, {Shown(frequency)});
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
            return Refuse(CsvReason::BadOffset, {Shown(offset)});
        const qint64 txHz = shift ? *rxHz + (plus ? *offsetHz : -*offsetHz) : *offsetHz;
        const std::optional<QString> tx = GridFrequency(txHz, band);
        if (!tx)
            return Refuse(CsvReason::TxOutOfBand, {HzText(txHz), band.text});
        v.tx = *tx;
    } else if (duplex != QLatin1String("off")) {
        return Refuse(CsvReason::BadDuplex, {Shown(row.field(CDuplex))});
    }

    const QString mode = row.field(CMode);
    const std::optional<int> wide =
        FlagWord(mode, 1, {{"FM", 1}, {"NFM", 0}, {"Wide", 1}, {"Narrow", 0}}, &kBandwidthList);
    if (!wide)
        return Refuse(CsvReason::BadMode, {Shown(mode)});
    v.wide = *wide;
    const QString power = row.field(CPower);
    const std::optional<int> high = PowerPosition(power);
    if (!high)
        return Refuse(CsvReason::BadPower, {Shown(power)});
    v.power = *high;
    const QString skip = row.field(CSkip);
    const std::optional<int> scan = FlagWord(skip, 1, {{"S", 0}, {"P", 1}});
    if (!scan)
        return Refuse(CsvReason::BadSkip, {Shown(skip)});
    v.scan = *scan;
    // A BCLO column (earlier exports) speaks first, then the comment.
    const QString bclo = row.field(CBclo);
    const std::optional<int> carrier = FlagWord(
        bclo, row.bcloComment() ? 1 : 0, {{"On", 1}, {"Off", 0}, {"Carrier", 1}}, &kBcloList);
    if (!carrier)
        return Refuse(CsvReason::BadBclo, {Shown(bclo)});
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

// ---------------------------------------------------------------------------------------------

const BiText& CsvReasonText(CsvReason reason) {
    const int i = static_cast<int>(reason);
    return kReasonTexts[i >= 0 && i < kCsvReasonCount ? i : 0].text;
}

QString CsvIssue::reasonText(int language) const {
    return Substitute(CsvReasonText(reason).text(language), args);
}

QString CsvIssue::text(int language) const {
    return Substitute(kLineText.text(language), {QString::number(line), reasonText(language)});
}

QString ChirpCsvHeader() {
    return QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                          "DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,"
                          "Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE");
}

QString ExportChirpCsv(const EditorState& state) {
    QString out = ChirpCsvHeader() + QStringLiteral("\r\n");
    for (int row = 1; row <= kChannelCount; ++row)
        if (state.channelInUse(row))
            out += ExportRow(state, row) + QStringLiteral("\r\n");
    return out;
}

QByteArray ExportChirpCsvFile(const EditorState& state) {
    return ExportChirpCsv(state).toUtf8();
}

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
                reject(CsvReason::BadLocation, {Shown(location)});
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

QString CsvImportSummary(const CsvImportResult& result, int language, int maxRows) {
    if (!result.fileReadable())
        return Substitute(kFileUnreadable.text(language),
                          {result.fileIssue.line > 0 ? result.fileIssue.text(language)
                                                     : result.fileIssue.reasonText(language)});
    QStringList lines;
    lines << Substitute(kCounts.text(language), {QString::number(result.imported.size()),
                                                 QString::number(result.rejected.size())});
    lines << (result.placement == CsvPlacement::ByLocation ? kPlacedByLocation : kPlacedInOrder)
                 .text(language);
    lines << (result.others == CsvChannelsNotInFile::Cleared ? kOthersCleared : kOthersKept)
                 .text(language);
    if (!result.skipped.isEmpty()) {
        QStringList at;
        for (const int line : result.skipped)
            at << QString::number(line);
        lines << Substitute(kSkipped.text(language), {QString::number(result.skipped.size()),
                                                      at.join(QStringLiteral(", "))});
    }
    if (result.textsDropped)
        lines << kNamesNotKept.text(language);
    const qsizetype shown =
        maxRows < 0 ? result.rejected.size() : std::min<qsizetype>(maxRows, result.rejected.size());
    for (qsizetype i = 0; i < shown; ++i)
        lines << result.rejected[i].text(language);
    if (shown < result.rejected.size())
        lines << Substitute(kMoreRows.text(language),
                            {QString::number(result.rejected.size() - shown)});
    return lines.join(u'\n');
}

} // namespace tr640
