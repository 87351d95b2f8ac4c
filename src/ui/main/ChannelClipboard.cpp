#include "ui/main/ChannelClipboard.h"

#include "i18n/MessageTexts.h"
#include "i18n/TextTable.h"

#include <QStringList>
#include <algorithm>

namespace tr640 {

namespace {

QString Heading(int column, int language) {
    return TableText(Form1Texts(), "Grid1", language, column);
}

QStringList SplitLines(const QString& text) {
    QStringList lines =
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList SplitCells(const QString& line) {
    QStringList cells = line.split(u'\t');
    for (QString& c : cells) {
        c = c.trimmed();
        if (c.size() >= 2 && c.startsWith(u'"') && c.endsWith(u'"'))
            c = c.mid(1, c.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    }
    return cells;
}

// The grid columns a heading line names, in order (the two tone columns share a heading), or
// an empty list when the line is not a heading line.
QList<int> HeadingColumns(const QStringList& cells) {
    QList<int> columns;
    int next = 0;
    for (const QString& cell : cells) {
        int found = -1;
        for (int col = next; col < kGridColumns && found < 0; ++col)
            if (cell == Heading(col, Chinese) || cell == Heading(col, English))
                found = col;
        if (found < 0)
            return {};
        columns << found;
        next = found + 1;
    }
    return columns;
}

} // namespace

QString CopyChannels(const EditorState& s, const CellRange& r) {
    QStringList lines;
    QStringList heading{Heading(ColNumber, s.Language)};
    for (int col = r.left; col <= r.right; ++col)
        heading << Heading(col, s.Language);
    lines << heading.join(u'\t');
    for (int row = r.top; row <= r.bottom; ++row) {
        QStringList cells{s.cell(row, ColNumber)};
        for (int col = r.left; col <= r.right; ++col)
            cells << s.cell(row, col);
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

PasteResult PasteChannels(const EditorState& state, const QString& text, int row, int column,
                          int bandLow, int bandHigh) {
    PasteResult result{state, {}, 0, false};
    QStringList lines = SplitLines(text);
    QList<int> columns;
    if (!lines.isEmpty()) {
        columns = HeadingColumns(SplitCells(lines.front()));
        if (!columns.isEmpty())
            lines.removeFirst();
    }
    for (int i = 0; i < lines.size(); ++i) {
        const int target = row + i;
        if (target > kChannelCount) {
            result.rowsBeyond = int(lines.size()) - i;
            break;
        }
        const QStringList cells = SplitCells(lines[i]);
        // Column by column, the receive frequency first: it starts a new channel.
        QList<std::pair<int, QString>> values;
        for (int k = 0; k < cells.size(); ++k) {
            const int col = columns.isEmpty() ? column + k : (k < columns.size() ? columns[k] : -1);
            if (col >= ColRxFrequency && col <= ColScanAdd)
                values.append({col, cells[k]});
        }
        std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
            return (a.first == ColRxFrequency) > (b.first == ColRxFrequency);
        });
        for (const auto& [col, value] : values) {
            result.anything = true;
            if (value.isEmpty() && col != ColRxFrequency)
                continue; // nothing to put there
            const CellProblem p =
                SetChannelCell(result.state, target, col, value, bandLow, bandHigh);
            if (p != CellProblem::None)
                result.problems.append({target, col, p});
        }
    }
    return result;
}

QString PasteProblemText(const PasteProblem& p, int language) {
    QString why;
    switch (p.problem) {
    case CellProblem::OutOfBand:
        why = msg::kBeyondRange.text(language);
        break;
    case CellProblem::NotNumeric:
        why = msg::kCellNotFrequency.text(language);
        break;
    case CellProblem::UnknownTone:
        why = msg::kCellNotTone.text(language);
        break;
    case CellProblem::UnknownEntry:
        why = msg::kCellNotEntry.text(language);
        break;
    case CellProblem::EmptyChannel:
        why = msg::kCellEmptyChannel.text(language);
        break;
    case CellProblem::None:
        break;
    }
    return msg::kPasteProblem.text(language)
        .arg(p.row, 2, 10, QChar(u'0'))
        .arg(Heading(p.column, language), why);
}

} // namespace tr640
