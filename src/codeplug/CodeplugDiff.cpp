#include "codeplug/CodeplugDiff.h"

#include "codeplug/BandTable.h"
#include "codeplug/BiText.h"
#include "codeplug/ChannelRecord.h"
#include "codeplug/Codec.h"
#include "codeplug/EditorState.h"
#include "codeplug/FieldLabels.h"

#include <array>
#include <functional>

namespace tr640 {

namespace {

// ---------------------------------------------------------------------------------------------
// Texts.

constexpr BiText kChannelLabel{"信道 %1", "Channel %1"};
constexpr BiText kTestChannelLabel{"测试信道 %1 %2", "Test channel %1 %2"};
constexpr BiText kAutodialLabel{"自动拨号存储 %1", "Autodial memory %1"};
constexpr BiText kNew{"新增", "new"};
constexpr BiText kRemoved{"已删除", "removed"};
constexpr BiText kOtherDataLabel{"其它数据", "Other data"};
constexpr BiText kOtherData{"其它数据：%1 字节", "Other data: %1 byte(s)"};
constexpr BiText kEmpty{"（空）", "(empty)"};
constexpr BiText kRadioHolds{"对讲机中已是这份数据。", "The radio already holds this codeplug."};
constexpr BiText kFilesEqual{"两个文件的数据相同。", "The two files hold the same codeplug."};

constexpr std::array<const char*, kGridColumns> kColumnKeys{
    "", "RxFrequency", "RxTone", "TxFrequency", "TxTone", "Power", "Bclo", "Bandwidth", "ScanAdd"};

// ---------------------------------------------------------------------------------------------
// The fields and the bits of the image each one stands for.

struct Bits {
    int offset;
    int width = 1;
    quint8 mask = 0xFF;
};

struct Item {
    QString field;
    int channel = 0;
    QString label;
    std::function<QString(const EditorState&)> value;
    QList<Bits> bits;
    bool quoted = false;
};

constexpr int kCalibrationStart = 0x170;
constexpr int kCalibrationEnd = 0x180;
constexpr int kUnsentStart = 0x180;   // up to the identification area
constexpr int kIdentStart = 0x1A8;    // ModelId, BandCode, constants
constexpr int kUnsentAgain = 0x1B8;   // up to the auto-dial memories
constexpr int kMemoriesStart = 0x1F0; // sent from here to the end

// Channel column `col`'s bits in the record at `o`, and the scan bit of channel `row`.
Bits ChannelBits(int row, int col) {
    using R = ChannelRecord;
    const int o = R::offset(row);
    switch (col) {
    case ColRxFrequency:
        return {o + R::kRxFrequency, R::kFrequencySize};
    case ColTxFrequency:
        return {o + R::kTxFrequency, R::kFrequencySize};
    case ColRxTone:
        return {o + R::kRxTone, 2};
    case ColTxTone:
        return {o + R::kTxTone, 2};
    case ColBclo:
        return {o + R::kBcloByte, 1, R::kBcloCarrier};
    case ColPower:
        return {o + R::kPowerBandwidthByte, 1, R::kPowerHigh};
    case ColBandwidth:
        return {o + R::kPowerBandwidthByte, 1, R::kBandwidthWide};
    default:
        return {kScanAdd + (row - 1) / 8, 1, quint8(1 << ((row - 1) % 8))};
    }
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

// Settings of the dialogs, shown as the store holds them.
struct TextSetting {
    const char* field;
    BiText label;
    Bits bits;
    QString SettingsStore::*member;
    bool quoted = false;
};
const TextSetting kTextSettings[] = {
    {"IdCode", {"ID 码", "ID code"}, {0x110, 10}, &SettingsStore::IdCode, true},
    {"PttId", {"PTT ID", "PTT ID"}, {0x122}, &SettingsStore::PttId},
    {"CancelOperation", {"取消操作", "Cancel operation"}, {0x127}, &SettingsStore::CancelOperation},
    {"VoxInhibitOnReceive",
     {"接收时禁止 VOX", "VOX inhibit on receive"},
     {0x128},
     &SettingsStore::VoxInhibitOnReceive},
    {"VoxFunction", {"VOX功能", "VOX Function"}, {0x129}, &SettingsStore::VoxFunction},
    {"VoxGainLevel", {"VOX增益电平", "VOX Gain Level"}, {0x12A}, &SettingsStore::VoxGainLevel},
    {"VoxDelayTime", {"VOX延迟时间", "VOX Delay time"}, {0x12B}, &SettingsStore::VoxDelayTime},
    {"VoxProceedTone",
     {"VOX可进行音调", "VOX Proceed Tone"},
     {0x12C},
     &SettingsStore::VoxProceedTone},
    {"Duplicate", {"复制", "Duplicate"}, {0x12E, 1, 0x01}, &SettingsStore::Duplicate},
    {"LaunchStartCode",
     {"发射开始码", "Launch start code"},
     {0x130, 16},
     &SettingsStore::LaunchStartCode,
     true},
    {"LaunchEndCode",
     {"发射结束码", "Launch end code"},
     {0x140, 16},
     &SettingsStore::LaunchEndCode,
     true},
    {"Priority", {"优先", "Priority"}, {0x150}, &SettingsStore::Priority},
    {"PriorityChannel", {"优先信道", "Priority Channel"}, {0x151}, &SettingsStore::PriorityChannel},
    {"LookBackTimeA", {"回扫时间A", "Look Back Time A"}, {0x152}, &SettingsStore::LookBackTimeA},
    {"LookBackTimeB", {"回扫时间B", "Look Back Time B"}, {0x153}, &SettingsStore::LookBackTimeB},
    {"RevertChannel", {"返回信道", "Revert channel"}, {0x154}, &SettingsStore::RevertChannel},
    {"DropoutDelayTime",
     {"扫描接收恢复延时时间", "Dropout delay time"},
     {0x155, 2},
     &SettingsStore::DropoutDelayTime},
    {"TxDwellTime",
     {"扫描发射恢复延时时间", "TX Dwell time"},
     {0x157, 2},
     &SettingsStore::TxDwellTime},
};

struct NumberSetting {
    const char* field;
    BiText label;
    int offset;
    int SettingsStore::*member;
};
const NumberSetting kNumberSettings[] = {
    {"DtmfRate", {"DTMF速率", "DTMF rate"}, 0x100, &SettingsStore::DtmfRate},
    {"FirstDigitTime", {"首位码时间", "First digit time"}, 0x101, &SettingsStore::FirstDigitTime},
    {"FirstDigitDelay",
     {"首位码延时", "First digit delay"},
     0x102,
     &SettingsStore::FirstDigitDelay},
    {"StarHashTone", {"*和#音", "* and # tone"}, 0x103, &SettingsStore::StarHashTone},
    {"DKeySetting", {"D键设定", "D key setting"}, 0x104, &SettingsStore::DKeySetting},
    {"DtmfSidetone", {"DTMF侧音", "DTMF sidetone"}, 0x105, &SettingsStore::DtmfSidetone},
    {"GroupCallCode", {"组呼码", "Group call code"}, 0x106, &SettingsStore::GroupCallCode},
    {"AutoResetTimer", {"自动复位时间", "Auto reset timer"}, 0x107, &SettingsStore::AutoResetTimer},
    {"Pf1Function", {"PF1 键", "PF1 key"}, 0x10D, &SettingsStore::Pf1Function},
    {"Pf2Function", {"PF2 键", "PF2 key"}, 0x10E, &SettingsStore::Pf2Function},
    {"TxHighPower", {"发射高功率", "TX high power"}, 0x173, &SettingsStore::TxHighPower},
    {"TxLowPower", {"发射低功率", "TX low power"}, 0x178, &SettingsStore::TxLowPower},
};

// Character fields hold the character 0xFF in the places of unused bytes; they are not shown.
QString Shown(QString text) {
    text.remove(QChar(0xFF));
    return text;
}

QString NumberText(int held) {
    // A group call code that is not a digit is held as minus its character's code.
    return held < 0 ? QString(QChar(char16_t(-held))) : QString::number(held);
}

QList<Item> SettingItems(int language) {
    QList<Item> items;
    for (const FunctionSetting& s : FunctionSettings())
        items.append(
            {QLatin1String(s.field),
             0,
             s.label.text(language),
             [s, language](const EditorState& e) { return s.text(e.*s.position, language); },
             {{s.offset}}});
    for (int line = 0; line < kMessageLines; ++line)
        items.append(
            {QStringLiteral("EmbeddedMessage%1").arg(line + 1),
             0,
             kMessageLineLabel.text(language).arg(line + 1),
             [line](const EditorState& e) { return Shown(e.Settings.EmbeddedMessage[line]); },
             {{0x2F0 + 32 * line, 32}},
             true});
    for (const TextSetting& s : kTextSettings)
        items.append({QLatin1String(s.field),
                      0,
                      s.label.text(language),
                      [s](const EditorState& e) { return Shown(e.Settings.*s.member); },
                      {s.bits},
                      s.quoted});
    for (const NumberSetting& s : kNumberSettings)
        items.append({QLatin1String(s.field),
                      0,
                      s.label.text(language),
                      [s](const EditorState& e) { return NumberText(e.Settings.*s.member); },
                      {{s.offset}}});
    for (int k = 0; k < kAutodialMemories; ++k)
        items.append({QStringLiteral("AutodialMemory%1").arg(k + 1),
                      0,
                      kAutodialLabel.text(language).arg(k + 1),
                      [k](const EditorState& e) { return Shown(e.Settings.AutodialMemory[k]); },
                      {{kMemoriesStart + 16 * k, 16}},
                      true});
    for (int n = 0; n < kTestChannels; ++n) {
        const QString number = TwoDigits(n + 1);
        const int o = 0x270 + 8 * n;
        items.append({QStringLiteral("TestChannel%1.RxFrequency").arg(number),
                      0,
                      kTestChannelLabel.text(language).arg(
                          number, kChannelColumnLabels[ColRxFrequency].text(language)),
                      [n](const EditorState& e) { return e.Settings.TestRxFrequency[n]; },
                      {{o, 4}}});
        items.append({QStringLiteral("TestChannel%1.TxFrequency").arg(number),
                      0,
                      kTestChannelLabel.text(language).arg(
                          number, kChannelColumnLabels[ColTxFrequency].text(language)),
                      [n](const EditorState& e) { return e.Settings.TestTxFrequency[n]; },
                      {{o + 4, 4}}});
    }
    return items;
}

Item BandItem(int language) {
    // The band also decides the identification texts and the second band code.
    return {QStringLiteral("Band"),
            0,
            kBandLabel.text(language),
            [](const EditorState& e) { return QString::fromLatin1(Band(e.Band).text); },
            {{kIdentStart, 6}, {0x330, 7}, {0x33C}}};
}

Item ChannelItem(int row, int col, int language) {
    const QString number = TwoDigits(row);
    return {QStringLiteral("Channel%1.%2").arg(number, QLatin1String(kColumnKeys[col])),
            row,
            kChannelLabel.text(language).arg(number) + u' ' +
                kChannelColumnLabels[col].text(language),
            [row, col](const EditorState& e) { return e.cell(row, col); },
            {ChannelBits(row, col)}};
}

bool InScope(int offset, CompareScope scope) {
    if (scope == CompareScope::WholeImage)
        return true;
    if (offset >= kCalibrationStart && offset < kCalibrationEnd)
        return scope == CompareScope::WrittenBytesWithCalibration;
    return offset < kUnsentStart || (offset >= kIdentStart && offset < kUnsentAgain) ||
           offset >= kMemoriesStart;
}

// Compares the decoded states and records which bits the reported changes explain.
class Comparison {
public:
    Comparison(QByteArrayView before, QByteArrayView after, int language, CompareScope scope)
        : language_(language), scope_(scope) {
        before_.Language = after_.Language = language;
        for (int o = 0; o < kImageSize; ++o) {
            bytesBefore_[o] = o < before.size() ? quint8(before[o]) : 0xFF;
            bytesAfter_[o] = o < after.size() ? quint8(after[o]) : 0xFF;
        }
        DecodeImage(before_, before);
        DecodeImage(after_, after);
    }

    QList<FieldChange> run() {
        compare(BandItem(language_));
        for (int row = 1; row <= kChannelCount; ++row)
            compareChannel(row);
        for (const Item& item : SettingItems(language_))
            compare(item);
        int other = 0;
        for (int o = 0; o < kImageSize; ++o)
            if (InScope(o, scope_) && ((bytesBefore_[o] ^ bytesAfter_[o]) & ~explained_[o]))
                ++other;
        if (other > 0) {
            FieldChange c;
            c.kind = ChangeKind::OtherData;
            c.field = QStringLiteral("OtherData");
            c.label = kOtherDataLabel.text(language_);
            c.count = other;
            changes_ << c;
        }
        return changes_;
    }

private:
    bool inScope(const Item& item) const {
        for (const Bits& b : item.bits)
            if (InScope(b.offset, scope_))
                return true;
        return false;
    }

    void explain(const QList<Bits>& bits) {
        for (const Bits& b : bits)
            for (int i = 0; i < b.width; ++i)
                explained_[b.offset + i] |= b.mask;
    }

    void compare(const Item& item) {
        if (!inScope(item))
            return;
        const QString before = item.value(before_);
        const QString after = item.value(after_);
        if (before == after)
            return;
        explain(item.bits);
        changes_ << FieldChange{
            ChangeKind::Changed, item.field, item.channel, item.label, before, after, 0,
            item.quoted};
    }

    void compareChannel(int row) {
        const bool before = before_.channelInUse(row);
        const bool after = after_.channelInUse(row);
        if (before && after) {
            for (int col = ColRxFrequency; col <= ColScanAdd; ++col)
                compare(ChannelItem(row, col, language_));
            return;
        }
        if (before == after)
            return;
        explain({{ChannelRecord::offset(row), ChannelRecord::kSize}, ChannelBits(row, ColScanAdd)});
        FieldChange c;
        c.kind = after ? ChangeKind::ChannelAdded : ChangeKind::ChannelRemoved;
        c.field = QStringLiteral("Channel%1").arg(TwoDigits(row));
        c.channel = row;
        c.label = kChannelLabel.text(language_).arg(TwoDigits(row));
        changes_ << c;
    }

    int language_;
    CompareScope scope_;
    EditorState before_;
    EditorState after_;
    std::array<quint8, kImageSize> bytesBefore_{};
    std::array<quint8, kImageSize> bytesAfter_{};
    std::array<quint8, kImageSize> explained_{};
    QList<FieldChange> changes_;
};

QString ValueText(bool quoted, const QString& value, int language) {
    if (quoted)
        return language == English ? u'"' + value + u'"' : u'“' + value + u'”';
    return value.isEmpty() ? kEmpty.text(language) : value;
}

} // namespace

QList<FieldChange> CompareCodeplugs(QByteArrayView before, QByteArrayView after, int language,
                                    CompareScope scope) {
    return Comparison(before, after, language, scope).run();
}

QString DescribeChange(const FieldChange& c, int language) {
    const QString colon = language == English ? QStringLiteral(": ") : QStringLiteral("：");
    switch (c.kind) {
    case ChangeKind::Changed:
        return c.label + colon + ValueText(c.quoted, c.before, language) + QStringLiteral(" → ") +
               ValueText(c.quoted, c.after, language);
    case ChangeKind::ChannelAdded:
        return c.label + colon + kNew.text(language);
    case ChangeKind::ChannelRemoved:
        return c.label + colon + kRemoved.text(language);
    case ChangeKind::OtherData:
        return kOtherData.text(language).arg(c.count);
    }
    return QString();
}

QStringList DescribeChanges(const QList<FieldChange>& changes, int language) {
    QStringList lines;
    for (const FieldChange& c : changes)
        lines << DescribeChange(c, language);
    return lines;
}

QString RadioHoldsCodeplugText(int language) {
    return kRadioHolds.text(language);
}

QString FilesEqualText(int language) {
    return kFilesEqual.text(language);
}

} // namespace tr640
