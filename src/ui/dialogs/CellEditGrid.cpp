#include "ui/dialogs/CellEditGrid.h"

#include "ui/dialogs/FilteredLineEdit.h"

#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

namespace tr640 {

class CellEditorDelegate : public QStyledItemDelegate {
public:
    explicit CellEditorDelegate(CellEditGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        return grid_->makeEditor(parent, index);
    }

private:
    CellEditGrid* grid_;
};

CellEditGrid::CellEditGrid(int rows, int columns, QWidget* parent)
    : FlexGrid(rows, columns, parent) {
    setItemDelegate(new CellEditorDelegate(this));
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    for (int r = fixedRows(); r < rows; ++r)
        for (int c = fixedColumns(); c < columns; ++c)
            if (QTableWidgetItem* it = item(r, c))
                it->setFlags(it->flags() | Qt::ItemIsEditable);
    // The first cell is current from the start, so that showing the grid or giving it the
    // focus opens no editor; the user's choice of a cell does.
    if (rows > fixedRows() && columns > fixedColumns())
        setCurrentCell(fixedRows(), fixedColumns());
    baseWidths_.assign(std::size_t(columns), 0);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* changed) {
        if (changed->row() < fixedRows())
            fitHeading(changed->column());
    });
}

void CellEditGrid::setBaseColumnWidthTwips(int column, int twips) {
    baseWidths_[std::size_t(column)] = TwipsToPixels(twips);
    fitHeading(column);
}

void CellEditGrid::fitHeading(int column) {
    const int base = baseWidths_[std::size_t(column)];
    if (base <= 0)
        return;
    int needed = 0;
    for (int r = 0; r < fixedRows(); ++r)
        needed = std::max(needed, fontMetrics().horizontalAdvance(text(r, column)) + 8);
    setColumnWidth(column, std::max(base, needed));
    updateGeometry();
}

FilteredLineEdit* CellEditGrid::makeEditor(QWidget* parent, const QModelIndex& index) {
    auto* editor = new FilteredLineEdit(rules_, parent);
    editor->setObjectName(QStringLiteral("cellEditor"));
    editor->setAlignment(Qt::AlignCenter);
    editor->setFrame(false);
    editor_ = editor;
    editorIndex_ = index;
    return editor;
}

bool CellEditGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!index.isValid() || isFixed(index.row(), index.column()))
        return false;
    if (trigger != QAbstractItemView::NoEditTriggers && policy_ &&
        !policy_(index.row(), index.column()))
        return false;
    // A click on the current cell opens its editor at once, like a change of cell.
    if (trigger == QAbstractItemView::SelectedClicked)
        return FlexGrid::edit(index, QAbstractItemView::AllEditTriggers, nullptr);
    return FlexGrid::edit(index, trigger, event);
}

void CellEditGrid::commitData(QWidget* editor) {
    if (editor != editor_ || !editorIndex_.isValid()) {
        FlexGrid::commitData(editor);
        return;
    }
    const QModelIndex index = editorIndex_;
    const QString before = text(index.row(), index.column());
    FlexGrid::commitData(editor);
    if (text(index.row(), index.column()) != before) {
        pendingRow_ = index.row();
        pendingColumn_ = index.column();
        pendingBefore_ = before;
    }
}

void CellEditGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    FlexGrid::closeEditor(editor, hint);
    if (editor == editor_) {
        editor_ = nullptr;
        editorIndex_ = QPersistentModelIndex();
    }
    if (pendingRow_ < 0)
        return;
    const int row = std::exchange(pendingRow_, -1);
    const int column = std::exchange(pendingColumn_, -1);
    // Reported once the editor is gone, so that a message box cannot commit it a second time.
    Q_EMIT cellEdited(row, column, std::exchange(pendingBefore_, QString()));
}

void CellEditGrid::commitEditor() {
    if (editor_) {
        commitData(editor_);
        closeEditor(editor_, QAbstractItemDelegate::NoHint);
    }
}

void CellEditGrid::discardEditor() {
    if (editor_)
        closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
}

} // namespace tr640
