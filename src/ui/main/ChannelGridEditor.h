#pragma once

// Editing of the channel grid: one of three hidden editors is floated over the cell being
// edited and commits into the grid (and CellListIndex) when an entry is chosen or when it
// loses the focus.

#include <QObject>
#include <array>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace tr640 {

class CodeplugDocument;
class FlexGrid;
class Form1;

class ChannelGridEditor : public QObject {
    Q_OBJECT
public:
    // The editors are made as children of `area`, the widget the grid sits in.
    ChannelGridEditor(Form1& window, FlexGrid* grid, QWidget* area);

    // Opens the editor of the grid's current cell (a left press or Enter).
    void openCurrentCell();

    // Commits an open editor by giving the focus back to the grid.
    void commit();

    // Commit of the frequency editor, also run when it loses the focus.
    void Text1_LostFocus();

    int editRow() const { return editRow_; }
    int editColumn() const { return editCol_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildEditors(QWidget* area);
    void place(QWidget* editor, bool fullHeight);
    void openFrequencyEditor();
    QComboBox* openToneEditor();
    QComboBox* openListEditor(int column);
    void dropPendingList();
    void chooseTone(int position);
    void toneLostFocus();
    void chooseListEntry(QComboBox* list, int position);
    bool filterKey(QKeyEvent* key);
    // Commits entry `position` of the edited column's list.
    void setListCell(int position);

    Form1& window_;
    CodeplugDocument& document_;
    FlexGrid* grid_;
    QLineEdit* text1_ = nullptr;
    QComboBox* combo8_ = nullptr;
    std::array<QComboBox*, 4> combo5_{}; // columns 5 to 8

    bool editorArmed_ = false;
    bool dropOnRelease_ = false;       // the opening click's button is still down
    QComboBox* pendingDrop_ = nullptr; // the list to drop when that button comes up
    int editRow_ = 1;
    int editCol_ = 1;
    bool committing_ = false;
    bool toneChosen_ = false;
};

} // namespace tr640
