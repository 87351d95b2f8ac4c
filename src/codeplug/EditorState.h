#pragma once

// The working copy of the codeplug: what the main window shows and edits. The codec turns it
// into an image and back; nothing else holds a codeplug between operations.

#include "codeplug/SettingsStore.h"

#include <QString>
#include <array>

namespace tr640 {

inline constexpr int kChannelCount = 16;
inline constexpr int kGridRows = 17; // row 0 is the heading row
inline constexpr int kGridColumns = 9;

// Columns of the channel grid.
enum GridColumn : int {
    ColNumber = 0,
    ColRxFrequency = 1,
    ColRxTone = 2,
    ColTxFrequency = 3,
    ColTxTone = 4,
    ColPower = 5,
    ColBclo = 6,
    ColBandwidth = 7,
    ColScanAdd = 8,
};

inline bool IsFrequencyColumn(int col) {
    return col == ColRxFrequency || col == ColTxFrequency;
}
inline bool IsToneColumn(int col) {
    return col == ColRxTone || col == ColTxTone;
}
inline bool IsFlagColumn(int col) {
    return col >= ColPower && col <= ColScanAdd;
}

// Start-up positions of the main window's lists.
inline constexpr int kDefaultVoiceNotice = 1;
inline constexpr int kDefaultTimeOutTimer = 5; // 90 seconds
inline constexpr int kDefaultTotPreAlert = 1;
inline constexpr int kDefaultSquelchLevel = 4;
inline constexpr int kDefaultBatterySave = 1;
inline constexpr int kDefaultBeep = 1;

struct EditorState {
    EditorState();

    // Grid1 texts; rows 1 to 16 are channels 1 to 16, columns 0 to 8. Row 0 (headings) is
    // not part of the codeplug and is not held here.
    const QString& cell(int row, int col) const { return Grid[row - 1][col]; }
    QString& cell(int row, int col) { return Grid[row - 1][col]; }

    // Position of the shown entry in the column's list (columns 2 to 8).
    int listIndex(int row, int col) const { return CellListIndex[row - 1][col]; }
    int& listIndex(int row, int col) { return CellListIndex[row - 1][col]; }

    bool channelInUse(int row) const { return !cell(row, ColRxFrequency).isEmpty(); }

    // Sets a list-valued cell to entry `position` of its column's list in the current
    // language and records the position.
    void setListCell(int row, int col, int position);

    // Empties columns 1 to 8 of a row and sets its list positions to 0.
    void ClearNO(int row);
    // ClearNO on every row.
    void ClearGrid();
    // Empties columns 1 to 8 of every row in use; list positions are kept.
    void ClearGrid1();

    // Re-renders the list-valued cells of the rows in use in the current language.
    void SetGrid1Text();

    std::array<std::array<QString, kGridColumns>, kChannelCount> Grid;
    std::array<std::array<int, kGridColumns>, kChannelCount> CellListIndex{};

    // Main-window lists (Combo2, Combo3, Combo4, Combo9, Combo6, Combo7) by position.
    int VoiceNotice = kDefaultVoiceNotice;
    int TimeOutTimer = kDefaultTimeOutTimer; // -1: no selection (a decoded 0)
    int TotPreAlert = kDefaultTotPreAlert;
    int SquelchLevel = kDefaultSquelchLevel;
    int BatterySave = kDefaultBatterySave;
    int Beep = kDefaultBeep;

    // Band selector Combo1 and the band last accepted.
    int Band = 0;
    int CurrentBandIndex = 0;

    SettingsStore Settings;

    int CalibrationWrite = 0;
    int Language = 0;

    bool operator==(const EditorState&) const = default;
};

} // namespace tr640
