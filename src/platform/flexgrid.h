#pragma once
// A grid of text cells with fixed (header) rows and columns, a current cell and
// a selection, sized in twips. Rows and columns count from 0 and include the
// fixed ones. The fixed row and the fixed column stay in place while the rest
// scrolls (at most one of each).
//
// What callers rely on:
//  - setRows/setCols drop rows or columns from the end or append empty ones;
//    the other cells keep their text.
//  - The current cell (Row, Col) may be any cell, fixed ones included; setting
//    Row or Col collapses the selection onto the current cell. A mouse click
//    makes the clicked cell current (and RowSel/ColSel the cell where the
//    button went up) before Click is raised.
//  - TextMatrix never moves the current cell.
//  - RowPos/ColPos are measured from the grid's top-left corner as scrolled now,
//    so Left + ColPos, Top + RowPos is a cell's corner in the grid's parent.
//
// Invalid row or column numbers raise VbError(InvalidPropertyValue), or
// VbError(SubscriptOutOfRange) for cell access; removing the last non-fixed row
// raises VbError(InvalidProcedureCall).

#include "platform/vbtypes.h"

#include <QString>
#include <QWidget>

class QTableView;

namespace platform
{

// Cell and column alignments.
enum FlexAlignment {
    flexAlignLeftTop = 0,
    flexAlignLeftCenter = 1,
    flexAlignLeftBottom = 2,
    flexAlignCenterTop = 3,
    flexAlignCenterCenter = 4,
    flexAlignCenterBottom = 5,
    flexAlignRightTop = 6,
    flexAlignRightCenter = 7,
    flexAlignRightBottom = 8,
    flexAlignGeneral = 9, // text left, numbers right, vertically centred
};

enum FlexSelectionMode { flexSelectionFree = 0, flexSelectionByRow = 1, flexSelectionByColumn = 2 };

class FlexGridModel;
class FlexGridView;

class FlexGrid : public QWidget
{
    Q_OBJECT
public:
    // fixedRows and fixedCols are 0 or 1; the grid starts with one non-fixed row
    // below the fixed ones and the given number of columns.
    explicit FlexGrid(int fixedRows, int fixedCols, int cols, QWidget *parent = nullptr);
    ~FlexGrid() override;

    int FixedRows() const;
    int FixedCols() const;

    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);

    // Current cell.
    int Row() const { return row_; }
    void setRow(int row);
    int Col() const { return col_; }
    void setCol(int col);
    // Far corner of the selection (the current cell is the other).
    int RowSel() const { return rowSel_; }
    void setRowSel(int row);
    int ColSel() const { return colSel_; }
    void setColSel(int col);

    QString Text() const;
    void setText(const QString &text);
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    void setTextMatrix(int row, int col, QLatin1StringView text);
    // val(TextMatrix(row, col)), read in place without copying the text.
    double ValMatrix(int row, int col) const;

    // Appends a row with the text in its column 0.
    void AddItem(const QString &text);
    // Removes a row; the rows below move up.
    void RemoveItem(int row);

    int CellAlignment() const;
    void setCellAlignment(int alignment);
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // Sizes in twips (whole pixels, 15 twips each).
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    int CellWidth() const;
    int CellHeight() const;
    int RowPos(int row) const;
    int ColPos(int col) const;

    // The current cell's look.
    void setCellBackColor(OleColor color);
    void setCellFontBold(bool bold);
    OleColor BackColorFixed() const;

    // False holds the view: cells, the current cell and the selection change
    // without being shown one by one, which makes filling a large grid fast.
    // Setting it back to True shows everything at once.
    bool Redraw() const;
    void setRedraw(bool redraw);

    int SelectionMode() const { return selectionMode_; }
    void setSelectionMode(int mode);

    // The grid's place in its parent, in twips.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void moveTwips(int left, int top, int width, int height);

    // The inner view (scroll bars, viewport), for callers that need to look or scroll.
    QTableView *view() const;

signals:
    void Click();
    void Scroll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Rows follow the grid's font: one line of it with a small margin.
    void changeEvent(QEvent *event) override;

private:
    friend class FlexGridView;
    void checkCell(int row, int col) const;
    void checkRow(int row) const;
    void checkCol(int col) const;
    void clampCurrent();
    void syncView();
    void takeCurrentFromView();
    void applyFixedGeometry();
    void fitRowsToFont();
    bool cellAt(QObject *watched, const QPoint &pos, int &row, int &col) const;

    FlexGridModel *model_ = nullptr;
    FlexGridView *view_ = nullptr;
    int row_ = 0;
    int col_ = 0;
    int rowSel_ = 0;
    int colSel_ = 0;
    int selectionMode_ = flexSelectionFree;
    int fixedColWidthPx_ = 0;
    int rowHeightPx_ = 0;
    bool dragging_ = false;
    bool syncing_ = false;
};

} // namespace platform
