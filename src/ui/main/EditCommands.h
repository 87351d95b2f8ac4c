#pragma once

// The Edit menu: undo and redo of every change to the channel list and the function settings,
// cut, copy and paste of channels as tab-separated text.

#include "ui/main/ChannelClipboard.h"

#include <QObject>

class QAction;
class QMenu;

namespace tr640 {

class CodeplugDocument;
class FlexGrid;
class Form1;

class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(Form1& window);

    // Fills the Edit menu and gives the grid its context menu and row selection.
    void buildMenu(QMenu* menu);
    void attachGrid(FlexGrid* grid);

    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void deleteChannels();
    void selectAll();

    // The selected cells (the current cell when nothing is selected).
    CellRange selection() const;
    // Paste of a text at the selection, as from the clipboard.
    void pasteText(const QString& text);

    // Undo and redo texts name their step; enabled states follow the history and the lock.
    void updateActions();

private:
    QAction* add(QMenu* menu, const char* name, const QKeySequence& keys);
    void selectRows(int from, int to);

    Form1& window_;
    CodeplugDocument& document_;
    FlexGrid* grid_ = nullptr;
    int anchorRow_ = 1;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* selectAll_ = nullptr;
};

} // namespace tr640
