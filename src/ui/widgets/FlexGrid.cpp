#include "ui/widgets/FlexGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace tr640 {

FlexGrid::FlexGrid(int rows, int columns, QWidget* parent, int fixedRows, int fixedColumns)
    : QTableWidget(rows, columns, parent), fixedRows_(fixedRows), fixedColumns_(fixedColumns) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(false);
    setWordWrap(false);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            itemAt(r, c);
}

int FlexGrid::TwipsToPixels(int twips) {
    return (twips * 96 + 720) / 1440; // the twip is 1/1440 inch; 96 pixels an inch
}

void FlexGrid::setColumnWidthTwips(int column, int twips) {
    setColumnWidth(column, TwipsToPixels(twips));
    updateGeometry();
}

void FlexGrid::setRowHeightTwips(int row, int twips) {
    setRowHeight(row, TwipsToPixels(twips));
    updateGeometry();
}

QTableWidgetItem* FlexGrid::itemAt(int row, int column) {
    QTableWidgetItem* it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        it->setTextAlignment(Qt::AlignCenter);
        if (isFixed(row, column)) {
            it->setFlags(Qt::ItemIsEnabled);
            it->setBackground(palette().button());
        } else {
            it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        setItem(row, column, it);
    }
    return it;
}

QString FlexGrid::text(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void FlexGrid::setText(int row, int column, const QString& text) {
    QTableWidgetItem* it = itemAt(row, column);
    if (it->text() != text)
        it->setText(text);
}

void FlexGrid::setCellBackground(int row, int column, const QColor& color) {
    itemAt(row, column)->setBackground(color);
}

QRect FlexGrid::cellRect(int row, int column, const QWidget* ancestor) const {
    const QRect r = visualRect(model()->index(row, column));
    const QPoint topLeft = viewport()->mapTo(ancestor, r.topLeft());
    return QRect(topLeft, r.size());
}

QSize FlexGrid::sizeHint() const {
    int w = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c)
        w += columnWidth(c);
    int h = 2 * frameWidth();
    for (int r = 0; r < rowCount(); ++r)
        h += rowHeight(r);
    return {w, h};
}

QModelIndex FlexGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Keep the current cell out of the fixed rows and columns.
    const QModelIndex moved = QTableWidget::moveCursor(action, modifiers);
    if (!moved.isValid())
        return moved;
    const int row = std::max(moved.row(), fixedRows_);
    const int column = std::max(moved.column(), fixedColumns_);
    if (row >= rowCount() || column >= columnCount())
        return currentIndex();
    return model()->index(row, column);
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || isFixed(index.row(), index.column()) ||
        event->button() != Qt::LeftButton) {
        // The fixed cells take no part in selection; other buttons only take the focus.
        setFocus(Qt::MouseFocusReason);
        event->accept();
        if (index.isValid() && !isFixed(index.row(), index.column()))
            Q_EMIT cellMousePressed(index.row(), index.column(), event->button());
        else if (index.isValid() && event->button() == Qt::LeftButton)
            Q_EMIT fixedCellPressed(index.row(), index.column(), event->modifiers());
        return;
    }
    QTableWidget::mousePressEvent(event);
    Q_EMIT cellMousePressed(index.row(), index.column(), event->button());
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT enterPressed();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace tr640
