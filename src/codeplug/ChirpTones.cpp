#include "codeplug/ChirpTones.h"

#include "codeplug/Numbers.h"
#include "codeplug/ToneTable.h"

#include <algorithm>

namespace tr640::chirp {

namespace {

// ---------------------------------------------------------------------------------------------
// Export: the grid's tone cells as CHIRP's tone mode and values.

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

} // namespace

ChirpTones ChirpTonesOfCells(const QString& txCell, const QString& rxCell) {
    return ChirpTonesOf(ToneOfCell(txCell), ToneOfCell(rxCell));
}

// ---------------------------------------------------------------------------------------------
// Import: CHIRP's tone mode and values as the grid's tone cells.

namespace {

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
            r.args = {name, value};
        }
        return r;
    }
    const QString value = row.has(column) ? row.field(column) : QStringLiteral("023");
    r.cell = DcsCell(value, polarity);
    if (!r.cell) {
        r.reason = CsvReason::BadDcs;
        r.args = {name, value};
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

} // namespace

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
        return Refuse(CsvReason::ReverseToneMode, {mode});
    } else if (is("Cross")) {
        const QString cross =
            row.has(CCrossMode) ? row.field(CCrossMode) : QStringLiteral("Tone->Tone");
        const qsizetype arrow = cross.indexOf(QLatin1String("->"));
        const std::optional<Signal> t =
            arrow < 0 ? std::nullopt : CrossSide(cross.left(arrow).trimmed());
        const std::optional<Signal> r =
            arrow < 0 ? std::nullopt : CrossSide(cross.mid(arrow + 2).trimmed());
        if (!t || !r || (*t == Signal::None && *r == Signal::None))
            return Refuse(CsvReason::BadCrossMode, {cross});
        tx = *t;
        rx = *r;
        if (tx == Signal::Dcs)
            txColumn = CDtcsCode;
        if (rx == Signal::Dcs)
            rxColumn = row.has(CRxDtcsCode) || !row.has(CDtcsCode) ? CRxDtcsCode : CDtcsCode;
    } else {
        return Refuse(CsvReason::BadToneMode, {mode});
    }

    QString polarity = row.field(CDtcsPolarity).toUpper();
    if (polarity.isEmpty())
        polarity = QStringLiteral("NN");
    const auto polarityLetter = [](QChar c) { return c == u'N' || c == u'R' || c == u'I'; };
    if ((tx == Signal::Dcs || rx == Signal::Dcs) &&
        (polarity.size() != 2 || !polarityLetter(polarity[0]) || !polarityLetter(polarity[1])))
        return Refuse(CsvReason::BadPolarity, {row.field(CDtcsPolarity)});
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

} // namespace tr640::chirp
