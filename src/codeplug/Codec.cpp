#include "codeplug/Codec.h"

#include "codeplug/BandTable.h"
#include "codeplug/ChannelRecord.h"
#include "codeplug/Hex.h"
#include "codeplug/ListTexts.h"
#include "codeplug/Numbers.h"
#include "codeplug/ToneTable.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

namespace tr640 {

namespace {

// ---------------------------------------------------------------------------------------------
// Memory map of the fields that are not channels, characters or the identification area.

// Reads and writes one numeric editor field, whatever form the editor holds it in.
struct Accessor {
    int (*get)(const EditorState&);
    void (*set)(EditorState&, int);
};

template <QString SettingsStore::*M> constexpr Accessor TextField() {
    return {[](const EditorState& s) { return WholeNumber(s.Settings.*M); },
            [](EditorState& s, int v) { s.Settings.*M = QString::number(v); }};
}

template <int SettingsStore::*M> constexpr Accessor IntField() {
    return {[](const EditorState& s) { return s.Settings.*M; },
            [](EditorState& s, int v) { s.Settings.*M = v; }};
}

template <int EditorState::*M> constexpr Accessor ListField() {
    return {[](const EditorState& s) { return s.*M; }, [](EditorState& s, int v) { s.*M = v; }};
}

// A number stored in one byte, or in two bytes low byte first.
struct NumberField {
    int offset;
    int width; // bytes
    Accessor field;
    int lo, hi;            // the stored value is decoded only when lo <= value <= hi
    int bias = 0;          // stored = held + bias
    int scale = 1;         // held = stored x scale
    bool noneAsFF = false; // a held 0 is written as 0xFF, which the decoder does not take
};

// In decode order; the encoder writes each at its offset.
const NumberField kNumberFields[] = {
    {0x100, 1, IntField<&SettingsStore::DtmfRate>(), 0, 3},
    {0x101, 1, IntField<&SettingsStore::FirstDigitTime>(), 0, 3},
    {0x102, 1, IntField<&SettingsStore::FirstDigitDelay>(), 10, 100, 0, 10},
    {0x103, 1, IntField<&SettingsStore::StarHashTone>(), 0, 3},
    {0x104, 1, IntField<&SettingsStore::DKeySetting>(), 0, 16},
    {0x105, 1, IntField<&SettingsStore::DtmfSidetone>(), 0, 1},
    {0x107, 1, IntField<&SettingsStore::AutoResetTimer>(), 0, 15},
    {0x10D, 1, IntField<&SettingsStore::Pf1Function>(), 0, 11},
    {0x10E, 1, IntField<&SettingsStore::Pf2Function>(), 0, 11},
    {0x11F, 1, ListField<&EditorState::VoiceNotice>(), 0, 2},
    {0x120, 1, ListField<&EditorState::TimeOutTimer>(), 0, 40, 1},
    {0x121, 1, ListField<&EditorState::TotPreAlert>(), 0, 10},
    {0x122, 1, TextField<&SettingsStore::PttId>(), 0, 2},
    {0x124, 1, ListField<&EditorState::SquelchLevel>(), 0, 9},
    {0x125, 1, ListField<&EditorState::BatterySave>(), 0, 1},
    {0x126, 1, ListField<&EditorState::Beep>(), 0, 1},
    {0x127, 1, TextField<&SettingsStore::CancelOperation>(), 0, 1},
    {0x128, 1, TextField<&SettingsStore::VoxInhibitOnReceive>(), 0, 1},
    {0x129, 1, TextField<&SettingsStore::VoxFunction>(), 0, 1},
    {0x12A, 1, TextField<&SettingsStore::VoxGainLevel>(), 0, 10},
    {0x12B, 1, TextField<&SettingsStore::VoxDelayTime>(), 0, 5},
    {0x12C, 1, TextField<&SettingsStore::VoxProceedTone>(), 0, 1},
    {0x150, 1, TextField<&SettingsStore::Priority>(), 0, 2},
    {0x151, 1, TextField<&SettingsStore::PriorityChannel>(), 1, 16},
    {0x152, 1, TextField<&SettingsStore::LookBackTimeA>(), 0, 91, 0, 1, true},
    {0x153, 1, TextField<&SettingsStore::LookBackTimeB>(), 0, 91, 0, 1, true},
    {0x154, 1, TextField<&SettingsStore::RevertChannel>(), 0, 3},
    {0x155, 2, TextField<&SettingsStore::DropoutDelayTime>(), 0, 300},
    {0x157, 2, TextField<&SettingsStore::TxDwellTime>(), 0, 300},
    {0x173, 1, IntField<&SettingsStore::TxHighPower>(), 0, 255},
    {0x178, 1, IntField<&SettingsStore::TxLowPower>(), 0, 255},
};

// Fields of one character per byte. Unused bytes are 0xFF.
struct CharField {
    int offset;
    int width;
    const QString& (*get)(const SettingsStore&);
    QString& (*ref)(SettingsStore&);
    bool skipFF;      // a 0xFF byte is dropped while decoding (otherwise it is character 0xFF)
    bool zeroAsColon; // the digit "0" is stored as 0x3A
};

// Pick names the field: [](auto& s) -> auto& { return s.IdCode; }.
template <auto Pick>
constexpr CharField Chars(int offset, int width, bool skipFF, bool zeroAsColon = false) {
    return {offset,
            width,
            [](const SettingsStore& s) -> const QString& { return Pick(s); },
            [](SettingsStore& s) -> QString& { return Pick(s); },
            skipFF,
            zeroAsColon};
}

#define TR640_FIELD(expr)                                                                          \
    [](auto& s) -> auto& {                                                                         \
        return s.expr;                                                                             \
    }

const CharField kIdCode = Chars<TR640_FIELD(IdCode)>(0x110, 10, false);
const CharField kLaunchStartCode = Chars<TR640_FIELD(LaunchStartCode)>(0x130, 16, true);
const CharField kLaunchEndCode = Chars<TR640_FIELD(LaunchEndCode)>(0x140, 16, true);

const std::array<CharField, kAutodialMemories> kAutodialFields{
    Chars<TR640_FIELD(AutodialMemory[0])>(0x1F0, 16, true, true),
    Chars<TR640_FIELD(AutodialMemory[1])>(0x200, 16, true, true),
    Chars<TR640_FIELD(AutodialMemory[2])>(0x210, 16, true, true),
    Chars<TR640_FIELD(AutodialMemory[3])>(0x220, 16, true, true),
    Chars<TR640_FIELD(AutodialMemory[4])>(0x230, 16, true, true),
    Chars<TR640_FIELD(AutodialMemory[5])>(0x240, 16, true, true),
    Chars<TR640_FIELD(AutodialMemory[6])>(0x250, 16, true, true),
    Chars<TR640_FIELD(AutodialMemory[7])>(0x260, 16, true, true),
};

const std::array<CharField, kMessageLines> kMessageFields{
    Chars<TR640_FIELD(EmbeddedMessage[0])>(0x2F0, 32, true),
    Chars<TR640_FIELD(EmbeddedMessage[1])>(0x310, 32, true),
};

#undef TR640_FIELD

constexpr int kGroupCallCode = 0x106;
constexpr int kIdAreaConstant = 0x123;
constexpr int kDuplicate = 0x12E;
constexpr int kModelId = 0x1A8;
constexpr int kBandCode = 0x1AD;
constexpr int kTestChannelArea = 0x270;
constexpr int kModelIdLong = 0x330;
constexpr int kBandCodeAgain = 0x33C;
constexpr int kTrailerDigits = 0x340;
constexpr int kTrailerConstant = 0x348;

// ---------------------------------------------------------------------------------------------
// Byte access.

class ImageReader {
public:
    explicit ImageReader(QByteArrayView bytes) : bytes_(bytes) {}
    // Bytes past the end read as 0xFF, as an erased radio reads.
    int byte(int offset) const {
        return offset < bytes_.size() ? static_cast<quint8>(bytes_[offset]) : 0xFF;
    }
    int word(int offset) const { return byte(offset) | byte(offset + 1) << 8; }
    QByteArray slice(int offset, int width) const {
        QByteArray out(width, '\xFF');
        for (int i = 0; i < width; ++i)
            out[i] = static_cast<char>(byte(offset + i));
        return out;
    }
    bool allFF(int offset, int width) const {
        for (int i = 0; i < width; ++i)
            if (byte(offset + i) != 0xFF)
                return false;
        return true;
    }

private:
    QByteArrayView bytes_;
};

void Put(QByteArray& image, int offset, int value) {
    image[offset] = static_cast<char>(value);
}

void PutBytes(QByteArray& image, int offset, QByteArrayView bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
}

void PutAscii(QByteArray& image, int offset, const char* text) {
    PutBytes(image, offset, QByteArrayView(text));
}

// ---------------------------------------------------------------------------------------------
// Channels.

bool IsEntry0(const QString& cell, int column) {
    return FlagList(column)[0].matches(cell);
}

void EncodeChannel(const EditorState& s, int row, QByteArray& image) {
    using R = ChannelRecord;
    const int o = R::offset(row);
    PutBytes(image, o + R::kRxFrequency, FrequencyBytesFromText(s.cell(row, ColRxFrequency)));
    PutBytes(image, o + R::kTxFrequency, FrequencyBytesFromText(s.cell(row, ColTxFrequency)));
    const quint16 rx = ToneWordFromText(s.cell(row, ColRxTone));
    const quint16 tx = ToneWordFromText(s.cell(row, ColTxTone));
    Put(image, o + R::kRxTone, rx & 0xFF);
    Put(image, o + R::kRxTone + 1, rx >> 8);
    Put(image, o + R::kTxTone, tx & 0xFF);
    Put(image, o + R::kTxTone + 1, tx >> 8);
    // Empty flag cells count as their entry 1 (Carrier, High, Wide).
    Put(image, o + R::kBcloByte,
        R::kBcloByteFixed | (IsEntry0(s.cell(row, ColBclo), ColBclo) ? 0 : R::kBcloCarrier));
    Put(image, o + R::kPowerBandwidthByte,
        R::kPowerBandwidthFixed | (IsEntry0(s.cell(row, ColPower), ColPower) ? 0 : R::kPowerHigh) |
            (IsEntry0(s.cell(row, ColBandwidth), ColBandwidth) ? 0 : R::kBandwidthWide));
    Put(image, o + R::kFixedByte14, R::kFixed14);
    Put(image, o + R::kFixedByte15, R::kFixed15);
}

void DecodeTone(EditorState& s, int row, int col, quint16 word) {
    if (word == kNoToneWord) {
        s.setListCell(row, col, 0);
        return;
    }
    const QString text = ToneTextFromWord(word);
    s.cell(row, col) = text;
    s.listIndex(row, col) = ToneListPosition(text);
}

void DecodeChannel(EditorState& s, int row, const ImageReader& in) {
    using R = ChannelRecord;
    const int o = R::offset(row);
    if (in.allFF(o + R::kRxFrequency, R::kFrequencySize)) {
        for (int col = ColRxFrequency; col <= ColScanAdd; ++col)
            s.cell(row, col).clear();
        return;
    }
    const auto frequency = [&](int at) {
        return in.allFF(o + at, R::kFrequencySize)
                   ? QString()
                   : FrequencyTextFromBytes(in.slice(o + at, R::kFrequencySize));
    };
    s.cell(row, ColRxFrequency) = frequency(R::kRxFrequency);
    s.cell(row, ColTxFrequency) = frequency(R::kTxFrequency);
    DecodeTone(s, row, ColRxTone, in.word(o + R::kRxTone));
    const quint16 tx = in.word(o + R::kTxTone);
    if (tx == kNoToneWord && s.cell(row, ColTxFrequency).isEmpty())
        s.cell(row, ColTxTone).clear();
    else
        DecodeTone(s, row, ColTxTone, tx);
    const int flags = in.byte(o + R::kBcloByte);
    const int powerBand = in.byte(o + R::kPowerBandwidthByte);
    s.setListCell(row, ColBclo, (flags & R::kBcloCarrier) ? 1 : 0);
    s.setListCell(row, ColBandwidth, (powerBand & R::kBandwidthWide) ? 1 : 0);
    s.setListCell(row, ColPower, (powerBand & R::kPowerHigh) ? 1 : 0);
}

void EncodeScanAdd(const EditorState& s, QByteArray& image) {
    int bits = 0;
    for (int row = 1; row <= kChannelCount; ++row) {
        const QString& c = s.cell(row, ColScanAdd);
        if (!c.isEmpty() && !IsEntry0(c, ColScanAdd))
            bits |= 1 << (row - 1);
    }
    Put(image, kScanAdd, bits & 0xFF);
    Put(image, kScanAdd + 1, bits >> 8);
}

void DecodeScanAdd(EditorState& s, const ImageReader& in) {
    const int bits = in.word(kScanAdd);
    for (int row = 1; row <= kChannelCount; ++row) {
        if (!s.channelInUse(row))
            s.cell(row, ColScanAdd).clear();
        else
            s.setListCell(row, ColScanAdd, (bits >> (row - 1)) & 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Settings.

void EncodeNumber(const EditorState& s, const NumberField& f, QByteArray& image) {
    const int held = f.field.get(s);
    int stored;
    if (f.noneAsFF && held == 0)
        stored = 0xFF;
    else
        stored = std::clamp(held / f.scale + f.bias, 0, f.hi);
    Put(image, f.offset, stored & 0xFF);
    if (f.width == 2)
        Put(image, f.offset + 1, stored >> 8);
}

void DecodeNumber(EditorState& s, const NumberField& f, const ImageReader& in) {
    const int stored = f.width == 2 ? in.word(f.offset) : in.byte(f.offset);
    if (stored >= f.lo && stored <= f.hi)
        f.field.set(s, stored * f.scale - f.bias);
}

// Characters are stored as their 8-bit (Latin-1) codes; one without such a code as "?".
int CharCode(QChar c) {
    return c.unicode() <= 0xFF ? c.unicode() : '?';
}

void EncodeChars(const EditorState& s, const CharField& f, QByteArray& image) {
    const QString& text = f.get(s.Settings);
    for (int i = 0; i < f.width; ++i) {
        int code = 0xFF;
        if (i < text.size())
            code = (f.zeroAsColon && text[i] == u'0') ? 0x3A : CharCode(text[i]);
        Put(image, f.offset + i, code);
    }
}

void DecodeChars(EditorState& s, const CharField& f, const ImageReader& in) {
    QString text;
    for (int i = 0; i < f.width; ++i) {
        const int b = in.byte(f.offset + i);
        if (b == 0xFF && f.skipFF)
            continue;
        text.append((f.zeroAsColon && b == 0x3A) ? QChar(u'0') : QChar(static_cast<char16_t>(b)));
    }
    f.ref(s.Settings) = text;
}

// GroupCallCode holds a digit's value; any other stored character c is held as -c so that it
// is written back unchanged.
int EncodeGroupCallCode(int held) {
    if (held == 0)
        return 0x00;
    if (held < 0)
        return std::clamp(-held, 1, 0xFF);
    return QString::number(held).at(0).unicode();
}

int DecodeGroupCallCode(int stored) {
    if (stored == 0x00 || stored == 0xFF)
        return 0;
    if (stored >= '0' && stored <= '9')
        return stored - '0';
    return -stored;
}

void EncodeIdentification(const EditorState& s, QByteArray& image) {
    const BandInfo& band = Band(s.Band);
    PutAscii(image, kModelId, band.modelId);
    Put(image, kBandCode, band.code);
    Put(image, kBandCode + 1, 0xF8);
    Put(image, kBandCode + 2, 0xFF);
    PutAscii(image, kModelIdLong, band.modelIdLong);
    Put(image, kBandCodeAgain, band.code);
    PutAscii(image, kTrailerDigits, "73518264");
    for (int o = kTrailerConstant; o < kImageSize; ++o)
        Put(image, o, 0x88);
}

const QRegularExpression& FrequencyForm() {
    static const QRegularExpression form(QStringLiteral("^[0-9A-F]{3}\\.[0-9A-F]{5}$"));
    return form;
}

} // namespace

// ---------------------------------------------------------------------------------------------

QString FrequencyTextFromBytes(QByteArrayView b) {
    const QString h = BytesToImageHex(b.first(4)); // d1d0 d3d2 d5d4 d7d6
    return h.mid(6, 2) + h[4] + u'.' + h[5] + h.mid(2, 2) + h.mid(0, 2);
}

QByteArray FrequencyBytesFromText(const QString& text) {
    if (text.isEmpty())
        return QByteArray(4, '\xFF');
    QString f = text;
    if (!FrequencyForm().match(f).hasMatch()) {
        // Not in the three-digit form the grid keeps: write the value it means, within the
        // range the eight digits can hold, rather than a shifted record.
        if (!IsNumeric(f))
            return QByteArray(4, '\xFF');
        const double mhz = std::clamp(LeadingNumber(f), 0.0, 999.99999);
        f = FormatFixed(mhz, 5).rightJustified(9, u'0');
    }
    return ImageHexToBytes(QString(f.mid(7, 2) + f.mid(5, 2) + f[2] + f[4] + f.mid(0, 2)));
}

QByteArray EncodeImage(const EditorState& s) {
    QByteArray image(kImageSize, '\xFF');
    for (int row = 1; row <= kChannelCount; ++row)
        EncodeChannel(s, row, image);
    for (const NumberField& f : kNumberFields)
        EncodeNumber(s, f, image);
    Put(image, kGroupCallCode, EncodeGroupCallCode(s.Settings.GroupCallCode));
    Put(image, kIdAreaConstant, 0x00);
    Put(image, kDuplicate, 0xFE | std::clamp(WholeNumber(s.Settings.Duplicate), 0, 1));
    for (const CharField* f : {&kIdCode, &kLaunchStartCode, &kLaunchEndCode})
        EncodeChars(s, *f, image);
    for (const CharField& f : kAutodialFields)
        EncodeChars(s, f, image);
    for (const CharField& f : kMessageFields)
        EncodeChars(s, f, image);
    EncodeScanAdd(s, image);
    for (int n = 0; n < kTestChannels; ++n) {
        PutBytes(image, kTestChannelArea + 8 * n,
                 FrequencyBytesFromText(s.Settings.TestRxFrequency[n]));
        PutBytes(image, kTestChannelArea + 8 * n + 4,
                 FrequencyBytesFromText(s.Settings.TestTxFrequency[n]));
    }
    EncodeIdentification(s, image);
    return image;
}

void DecodeImage(EditorState& s, QByteArrayView image) {
    const ImageReader in(image.first(std::min<qsizetype>(image.size(), kDecodedSize)));
    s.CalibrationWrite = 0;
    for (int row = 1; row <= kChannelCount; ++row)
        DecodeChannel(s, row, in);
    for (const NumberField& f : kNumberFields)
        DecodeNumber(s, f, in);
    s.Settings.GroupCallCode = DecodeGroupCallCode(in.byte(kGroupCallCode));
    DecodeChars(s, kIdCode, in);
    s.Settings.Duplicate = QString::number(in.byte(kDuplicate) & 1);
    DecodeChars(s, kLaunchStartCode, in);
    DecodeChars(s, kLaunchEndCode, in);
    DecodeScanAdd(s, in);
    const int band = BandIndexFromCode(static_cast<quint8>(in.byte(kBandCode)));
    if (band >= 0) {
        s.CurrentBandIndex = band;
        s.Band = band;
    }
    for (const CharField& f : kAutodialFields)
        DecodeChars(s, f, in);
    for (int n = 0; n < kTestChannels; ++n) {
        const int o = kTestChannelArea + 8 * n;
        s.Settings.TestRxFrequency[n] =
            in.allFF(o, 4) ? QString() : FrequencyTextFromBytes(in.slice(o, 4));
        s.Settings.TestTxFrequency[n] =
            in.allFF(o + 4, 4) ? QString() : FrequencyTextFromBytes(in.slice(o + 4, 4));
    }
    for (const CharField& f : kMessageFields)
        DecodeChars(s, f, in);
}

QString EncodeCodeplug(const EditorState& state) {
    return BytesToImageHex(EncodeImage(state));
}

void DecodeCodeplug(EditorState& state, QStringView imageHex) {
    QString text = imageHex.left(2 * kDecodedSize).toString();
    text.append(QString(2 * kDecodedSize - text.size(), u'F'));
    DecodeImage(state, ImageHexToBytes(text));
}

} // namespace tr640
