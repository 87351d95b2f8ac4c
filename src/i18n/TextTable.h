#pragma once

// The language pass works from ordered tables of texts: for each window, which control gets
// which text in Chinese and in English.

#include "codeplug/BiText.h"

#include <QString>
#include <span>

namespace tr640 {

enum class TextKind {
    WindowCaption, // the window's title
    Caption,       // menu, menu item, frame, label, button or check box
    Tooltip,       // toolbar button `index` (1-based): its tool tip and caption
    ListItem,      // item `index` of a list, renamed in place
    HeaderCell,    // row 0, column `index` of a grid
    Generated,     // items index .. index + count - 1 of a list, from `generate`
};

struct TextEntry {
    // Object name of the control within its window, empty for the window itself.
    // "Combo5(5)" names element 5 of a control array.
    const char* control;
    TextKind kind;
    int index;
    BiText text;
    QString (*generate)(int item, int language) = nullptr;
    int count = 0;
};

struct WindowTexts {
    const char* window; // object name of the window
    std::span<const TextEntry> entries;
};

// Each window's table, in the order the pass writes it. The main window's texts of features
// beyond its menus and lists have tables of their own, written after its main table.
std::span<const TextEntry> Form1Texts();
std::span<const TextEntry> Form1EditTexts();
std::span<const TextEntry> Form1TransferTexts();
std::span<const TextEntry> Form2Texts();
std::span<const TextEntry> Form4Texts();
std::span<const TextEntry> Form5Texts();
std::span<const TextEntry> Form6Texts();
std::span<const TextEntry> Form7Texts();
std::span<const TextEntry> FrmAboutTexts();
// The channel sheet, write preview and batch items of the main window, and the batch window.
std::span<const TextEntry> Form1DealerTexts();
std::span<const TextEntry> FrmBatchTexts();

// All windows in the order the pass visits them.
std::span<const WindowTexts> AllWindowTexts();

// The text of an entry of a window's table, for windows that need a table text elsewhere.
QString TableText(std::span<const TextEntry> table, const char* control, int language,
                  int index = 0);

} // namespace tr640
