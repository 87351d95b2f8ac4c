#pragma once

// A grid with fixed heading rows and columns and one current cell, sized in twips: the
// channel grid and the dialogs' tables.

#include <QTableWidget>

class QKeyEvent;
class QMouseEvent;

namespace tr640 {

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    FlexGrid(int rows, int columns, QWidget* parent = nullptr, int fixedRows = 1,
             int fixedColumns = 1);

    static int TwipsToPixels(int twips);

    void setColumnWidthTwips(int column, int twips);
    void setRowHeightTwips(int row, int twips);

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    void setCellBackground(int row, int column, const QColor& color);

    bool isFixed(int row, int column) const { return row < fixedRows_ || column < fixedColumns_; }
    int fixedRows() const { return fixedRows_; }
    int fixedColumns() const { return fixedColumns_; }

    // Geometry of a cell in the coordinates of `ancestor` (the window the editors float in).
    QRect cellRect(int row, int column, const QWidget* ancestor) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    // A mouse button went down on a cell that is not fixed, after the left button made it the
    // current cell. The right button only takes the focus.
    void cellMousePressed(int row, int column, Qt::MouseButton button);
    // Enter or Return on the grid.
    void enterPressed();
    // A left press on a fixed (heading) cell.
    void fixedCellPressed(int row, int column, Qt::KeyboardModifiers modifiers);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTableWidgetItem* itemAt(int row, int column);

    int fixedRows_;
    int fixedColumns_;
};

} // namespace tr640
