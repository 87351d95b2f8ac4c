#include "codeplug/ChirpCsv.h"

#include "codeplug/ChirpFields.h"
#include "codeplug/ChirpTones.h"
#include "codeplug/ListTexts.h"

namespace tr640 {

namespace {

using namespace chirp;

// A grid frequency text in CHIRP's form; a cell that is not a frequency is written as it is.
QString CellFrequencyText(const QString& cell) {
    const std::optional<qint64> hz = ParseScaled(cell, 6);
    return hz ? HzText(*hz) : cell;
}

bool IsFlagEntry0(const EditorState& s, int row, int col) {
    return FlagList(col)[0].matches(s.cell(row, col));
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
    const ChirpTones tones = ChirpTonesOfCells(s.cell(row, ColTxTone), s.cell(row, ColRxTone));
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
        quoted << CsvQuoted(f);
    return quoted.join(u',');
}

} // namespace

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

} // namespace tr640
