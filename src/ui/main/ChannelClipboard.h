#pragma once

// Channels as tab-separated text, as spreadsheets copy and paste it: a heading line with the
// grid's column headings, then one line per channel.

#include "codeplug/ChannelRules.h"
#include "codeplug/EditorState.h"

#include <QList>
#include <QString>

namespace tr640 {

// Rows 1..16 and columns 1..8 of the grid, inclusive.
struct CellRange {
    int top = 1;
    int bottom = 1;
    int left = 1;
    int right = 1;
};

// The range as text: "CH" and the headings of the columns, then the channel number and the
// cells of each row.
QString CopyChannels(const EditorState& state, const CellRange& range);

struct PasteProblem {
    int row;
    int column;
    CellProblem problem;
};

struct PasteResult {
    EditorState state;            // the editor with everything acceptable pasted
    QList<PasteProblem> problems; // cells left as they were
    int rowsBeyond = 0;           // lines that did not fit below row 16
    bool anything = false;        // the text held at least one value
};

// Pastes text whose first cell lands on (row, column), or, when the text starts with a heading
// line in either language, into the columns the headings name, from `row` down. Each value is
// checked as the grid's editors check it.
PasteResult PasteChannels(const EditorState& state, const QString& text, int row, int column,
                          int bandLow, int bandHigh);

// A problem for the user, naming the channel and the column.
QString PasteProblemText(const PasteProblem& p, int language);

} // namespace tr640
