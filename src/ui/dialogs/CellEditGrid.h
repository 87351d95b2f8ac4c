#pragma once

// A table grid whose cells are edited in place: the editor opens as soon as a cell becomes
// the current one (or is clicked again), filters its characters by the grid's rules and
// commits when it closes.

#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/dialogs/InputRules.h"
#include "ui/widgets/FlexGrid.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <functional>
#include <vector>

namespace tr640 {

class CellEditGrid : public FlexGrid {
    Q_OBJECT
public:
    CellEditGrid(int rows, int columns, QWidget* parent);

    // Characters the cell editor accepts.
    void setEditorRules(InputRules rules) { rules_ = std::move(rules); }
    // Asked before an editor opens on a cell; false refuses the edit.
    void setEditPolicy(std::function<bool(int row, int column)> policy) {
        policy_ = std::move(policy);
    }

    // A column's width; a heading text that needs more widens it (fonts differ between
    // systems), and the column returns to this width when the text fits again.
    void setBaseColumnWidthTwips(int column, int twips);

    // The open editor, if any.
    FilteredLineEdit* cellEditor() const { return editor_; }
    // Closes the open editor and keeps what it holds (as on leaving the cell).
    void commitEditor();
    // Closes the open editor and drops what it holds.
    void discardEditor();

Q_SIGNALS:
    // A committed edit changed the text of a cell; `before` is its earlier text.
    void cellEdited(int row, int column, const QString& before);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class CellEditorDelegate;
    FilteredLineEdit* makeEditor(QWidget* parent, const QModelIndex& index);
    void fitHeading(int column);

    InputRules rules_;
    std::function<bool(int, int)> policy_;
    QPointer<FilteredLineEdit> editor_;
    QPersistentModelIndex editorIndex_;
    std::vector<int> baseWidths_; // pixels, 0 where not set
    // The commit waiting for its editor to close: cell and earlier text.
    int pendingRow_ = -1;
    int pendingColumn_ = -1;
    QString pendingBefore_;
};

} // namespace tr640
