#pragma once

// The Edit menu: undo and redo of every change to the channel list and the function settings,
// cut, copy and paste of channels as tab-separated text, and whether the codeplug has changed
// since it was last opened, saved, read or written.

#include "codeplug/EditHistory.h"
#include "ui/main/ChannelClipboard.h"

#include <QByteArray>
#include <QObject>

class QAction;
class QMenu;

namespace tr640 {

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

    EditHistory& history() { return history_; }

    // A change was made that started from `before` (see EditScope).
    void record(EditKind kind, const EditorState& before);
    int& depth() { return depth_; }

    // The codeplug as last opened, saved, read or written.
    void markClean();
    bool isModified() const;

    // Undo and redo texts name their step; enabled states follow the history.
    void updateActions();

Q_SIGNALS:
    void modifiedChanged();

private:
    QAction* add(QMenu* menu, const char* name, const QKeySequence& keys);
    void selectRows(int from, int to);

    Form1& window_;
    FlexGrid* grid_ = nullptr;
    EditHistory history_;
    int depth_ = 0;
    QByteArray cleanImage_;
    int anchorRow_ = 1;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* selectAll_ = nullptr;
};

// Records one undoable step: the state at construction against the state at destruction.
// Nested scopes make one step, the outermost one's.
class EditScope {
public:
    EditScope(Form1& window, EditKind kind);
    ~EditScope();
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

private:
    Form1& window_;
    EditKind kind_;
    EditorState before_;
};

} // namespace tr640
