#include "i18n/CsvTexts.h"

#include <algorithm>
#include <array>

namespace tr640 {

namespace {

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

} // namespace

const BiText& CsvReasonText(CsvReason reason) {
    const int i = static_cast<int>(reason);
    return kReasonTexts[i >= 0 && i < kCsvReasonCount ? i : 0].text;
}

QString CsvIssueReasonText(const CsvIssue& issue, int language) {
    QStringList shown;
    for (const QString& arg : issue.args)
        shown << Shown(arg);
    return Substitute(CsvReasonText(issue.reason).text(language), shown);
}

QString CsvIssueText(const CsvIssue& issue, int language) {
    return Substitute(kLineText.text(language),
                      {QString::number(issue.line), CsvIssueReasonText(issue, language)});
}

QString CsvImportSummary(const CsvImportResult& result, int language, int maxRows) {
    if (!result.fileReadable())
        return Substitute(kFileUnreadable.text(language),
                          {result.fileIssue.line > 0
                               ? CsvIssueText(result.fileIssue, language)
                               : CsvIssueReasonText(result.fileIssue, language)});
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
        lines << CsvIssueText(result.rejected[i], language);
    if (shown < result.rejected.size())
        lines << Substitute(kMoreRows.text(language),
                            {QString::number(result.rejected.size() - shown)});
    return lines.join(u'\n');
}

} // namespace tr640
