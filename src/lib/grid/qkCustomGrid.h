#pragma once

#include "platform/runtime/Exceptions.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QVector>

class QPainter;

// Raised by the grid for an operation it cannot carry out.
class EInvalidGridOperation : public Exception
{
public:
    using Exception::Exception;
};

// How a cell is painted: selected, holding the focus, fixed.
enum TGridDrawStateFlag { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = int;

// The class library's grid: rows and columns of cells, fixed ones at the
// top and left, scrolling by whole columns and rows, column sizing by the
// mouse and an in-place editor. Descendants paint the cells and supply the
// editor; the grid knows nothing of data.
class TCustomGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TCustomGrid(QWidget *parent = nullptr);

    int ColCount() const { return int(m_colWidths.size()); }
    void SetColCount(int count);
    int RowCount() const { return int(m_rowHeights.size()); }
    void SetRowCount(int count);
    int FixedColCount() const { return m_fixedCols; }
    void SetFixedColCount(int count);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int count);
    int ColWidths(int col) const { return m_colWidths.value(col); }
    void SetColWidths(int col, int width);
    int RowHeights(int row) const { return m_rowHeights.value(row); }
    void SetRowHeights(int row, int height);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);
    bool TabStops(int col) const { return m_tabStops.value(col, true); }
    void SetTabStops(int col, bool stop);
    int GridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int width);

    int Col() const { return m_col; }
    void SetCol(int col) { FocusCell(col, m_row); }
    int Row() const { return m_row; }
    void SetRow(int row) { FocusCell(m_col, row); }
    int LeftCol() const { return m_leftCol; }
    void SetLeftCol(int col);
    int TopRow() const { return m_topRow; }
    void SetTopRow(int row);
    // Makes the cell current when SelectCell agrees, scrolling it into view.
    void FocusCell(int col, int row);

    // The rows that fit below the fixed ones, the last one counted only when whole.
    int VisibleRowCount() const;
    int VisibleColCount() const;
    // Cell rectangle in viewport coordinates; empty when the cell is out of view.
    QRect CellRect(int col, int row) const;
    // The cell under a viewport point; (-1, -1) outside every cell.
    QPoint MouseCoord(int x, int y) const;
    // Distance from one row's top to the next: the one measure for painting and scrolling.
    int RowPitch(int row) const { return RowHeights(row) + m_gridLineWidth; }
    int ColPitch(int col) const { return ColWidths(col) + m_gridLineWidth; }

    QWidget *InplaceEditor() const { return m_editor; }
    bool EditorMode() const { return m_editorWanted; }
    void ShowEditor();
    // Places the editor at once (a typed character goes to it next).
    void ShowEditorNow();
    void HideEditor();
    // Reloads the editor's text from the cell (the cell's value changed).
    void InvalidateEditor();
    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateGrid() { viewport()->update(); }

protected:
    virtual void DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state) = 0;
    virtual bool SelectCell(int col, int row);
    virtual void TopLeftChanged() {}
    // A user dragged the edge of the column to a new width.
    virtual void ColWidthsChanged(int sizedCol) { Q_UNUSED(sizedCol); }
    // Whether a title edge may be dragged to size its column.
    virtual bool CanSizeColumns() const { return true; }
    virtual void SizeChanged() {}
    virtual void CellMoved() {}
    // The editor: made once by CreateEditor, shown over the current cell
    // when CanEditShow agrees.
    virtual QWidget *CreateEditor() { return nullptr; }
    virtual bool CanEditShow() const { return m_editorWanted; }
    virtual void LoadEditor(QWidget *editor) { Q_UNUSED(editor); }
    // Where the loaded editor stands: over its cell, or wider for what it shows.
    virtual QRect EditorRect(const QRect &cell) const { return cell; }
    virtual void PaintOver(QPainter &painter) { Q_UNUSED(painter); }
    // Scrolling is by whole columns: the bar's value is the first scrolling column.
    void UpdateHorzScrollBar();
    bool InSizing() const { return m_sizingCol >= 0; }

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent *event) override;

private:
    int sizingEdgeAt(const QPoint &pos) const;
    void drawFocusFrame(QPainter &painter, const QRect &cell);
    int colLeft(int col) const;
    int rowTop(int row) const;
    void scrollIntoView(int col, int row);
    void placeEditor();
    void scheduleEditor();

    QVector<int> m_colWidths;
    QVector<int> m_rowHeights;
    QVector<bool> m_tabStops;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    int m_fixedCols = 0;
    int m_fixedRows = 0;
    int m_gridLineWidth = 1;
    int m_col = 0;
    int m_row = 0;
    int m_leftCol = 0;
    int m_topRow = 0;
    int m_sizingCol = -1;
    int m_sizingStart = 0;
    int m_sizingWidth = 0;
    int m_editorTimer = 0;
    bool m_editorWanted = false;
    bool m_syncingScrollBar = false;
    QPointer<QWidget> m_editor;
    QPoint m_editorCell;
};
