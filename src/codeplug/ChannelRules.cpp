#include "codeplug/ChannelRules.h"

#include "codeplug/FrequencySnap.h"
#include "codeplug/ListTexts.h"
#include "codeplug/Numbers.h"
#include "codeplug/ToneTable.h"

namespace tr640 {

std::optional<QString> ChannelFrequency(const QString& typed, int bandLow, int bandHigh,
                                        CellProblem* problem) {
    const auto fail = [&](CellProblem p) {
        if (problem)
            *problem = p;
        return std::optional<QString>();
    };
    const QString t = typed.trimmed();
    if (!IsNumeric(t))
        return fail(CellProblem::NotNumeric);
    const double v = LeadingNumber(t);
    if (v < bandLow || v > bandHigh)
        return fail(CellProblem::OutOfBand);
    if (problem)
        *problem = CellProblem::None;
    return ChannelFrequencyText(SnapFrequency(ChannelFrequencyText(v)));
}

std::optional<ToneValue> ChannelTone(const QString& text, int language) {
    const QString t = text.trimmed();
    if (IsToneOffText(t))
        return ToneValue{ToneListText(0, language), 0};
    const int listed = ToneListPosition(t);
    if (listed != kToneNotListed)
        return ToneValue{t, listed};
    if (!IsNumeric(t))
        return std::nullopt;
    const double v = LeadingNumber(t);
    if (v < 67.0 || v > 254.1)
        return std::nullopt;
    const QString tone = FormatFixed(v, 1);
    return ToneValue{tone, ToneListPosition(tone)};
}

std::optional<int> FlagEntry(int column, const QString& text) {
    const auto& list = FlagList(column);
    for (int p = 0; p < static_cast<int>(list.size()); ++p)
        if (list[p].matches(text.trimmed()))
            return p;
    return std::nullopt;
}

void FillNewChannel(EditorState& s, int row, const QString& frequency) {
    s.cell(row, ColTxFrequency) = frequency;
    s.setListCell(row, ColRxTone, 0);
    s.setListCell(row, ColTxTone, 0);
    s.setListCell(row, ColPower, 1);     // High
    s.setListCell(row, ColBclo, 0);      // Off
    s.setListCell(row, ColBandwidth, 1); // Wide
    s.setListCell(row, ColScanAdd, 1);   // Yes
}

CellProblem SetChannelCell(EditorState& s, int row, int column, const QString& text, int bandLow,
                           int bandHigh) {
    if (column == ColRxFrequency && text.trimmed().isEmpty()) {
        s.ClearNO(row);
        return CellProblem::None;
    }
    if (!s.channelInUse(row) && column != ColRxFrequency)
        return CellProblem::EmptyChannel;
    if (IsFrequencyColumn(column)) {
        CellProblem problem = CellProblem::None;
        const std::optional<QString> f = ChannelFrequency(text, bandLow, bandHigh, &problem);
        if (!f)
            return problem;
        const bool newChannel = column == ColRxFrequency && s.cell(row, ColTxFrequency).isEmpty();
        s.cell(row, column) = *f;
        if (newChannel)
            FillNewChannel(s, row, *f);
        return CellProblem::None;
    }
    if (IsToneColumn(column)) {
        const std::optional<ToneValue> tone = ChannelTone(text, s.Language);
        if (!tone)
            return CellProblem::UnknownTone;
        s.cell(row, column) = tone->text;
        s.listIndex(row, column) = tone->position;
        return CellProblem::None;
    }
    if (IsFlagColumn(column)) {
        const std::optional<int> entry = FlagEntry(column, text);
        if (!entry)
            return CellProblem::UnknownEntry;
        s.setListCell(row, column, *entry);
        return CellProblem::None;
    }
    return CellProblem::None;
}

} // namespace tr640
