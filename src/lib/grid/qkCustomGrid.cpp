#include "lib/grid/qkCustomGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>

namespace {

constexpr int sizingMargin = 3;
constexpr int minimumColWidth = 4;

}

TCustomGrid::TCustomGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetColCount(2);
    SetRowCount(2);
}

void TCustomGrid::SetColCount(int count)
{
    count = std::max(1, count);
    m_colWidths.resize(count, m_defaultColWidth);
    m_tabStops.resize(count, true);
    m_fixedCols = std::min(m_fixedCols, count - 1);
    m_col = std::clamp(m_col, m_fixedCols, count - 1);
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, count - 1);
    UpdateHorzScrollBar();
    InvalidateGrid();
}

void TCustomGrid::SetRowCount(int count)
{
    count = std::max(1, count);
    m_rowHeights.resize(count, m_defaultRowHeight);
    m_fixedRows = std::min(m_fixedRows, count - 1);
    m_row = std::clamp(m_row, m_fixedRows, count - 1);
    m_topRow = std::clamp(m_topRow, m_fixedRows, count - 1);
    InvalidateGrid();
}

void TCustomGrid::SetFixedColCount(int count)
{
    m_fixedCols = std::clamp(count, 0, ColCount() - 1);
    m_col = std::max(m_col, m_fixedCols);
    m_leftCol = std::max(m_leftCol, m_fixedCols);
    UpdateHorzScrollBar();
    InvalidateGrid();
}

void TCustomGrid::SetFixedRows(int count)
{
    m_fixedRows = std::clamp(count, 0, RowCount() - 1);
    m_row = std::max(m_row, m_fixedRows);
    m_topRow = std::max(m_topRow, m_fixedRows);
    InvalidateGrid();
}

void TCustomGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= ColCount() || m_colWidths[col] == width)
        return;
    m_colWidths[col] = width;
    UpdateHorzScrollBar();
    InvalidateGrid();
    if (m_editorWanted)
        scheduleEditor();
}

void TCustomGrid::SetRowHeights(int row, int height)
{
    if (row < 0 || row >= RowCount())
        return;
    m_rowHeights[row] = height;
    InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int height)
{
    m_defaultRowHeight = height;
    m_rowHeights.fill(height);
    InvalidateGrid();
}

void TCustomGrid::SetTabStops(int col, bool stop)
{
    if (col >= 0 && col < ColCount())
        m_tabStops[col] = stop;
}

void TCustomGrid::SetGridLineWidth(int width)
{
    m_gridLineWidth = width;
    InvalidateGrid();
}

void TCustomGrid::SetLeftCol(int col)
{
    col = std::clamp(col, m_fixedCols, ColCount() - 1);
    if (col == m_leftCol)
        return;
    m_leftCol = col;
    UpdateHorzScrollBar();
    InvalidateGrid();
    if (m_editorWanted)
        scheduleEditor();
    TopLeftChanged();
}

void TCustomGrid::SetTopRow(int row)
{
    row = std::clamp(row, m_fixedRows, RowCount() - 1);
    if (row == m_topRow)
        return;
    m_topRow = row;
    InvalidateGrid();
    TopLeftChanged();
}

void TCustomGrid::FocusCell(int col, int row)
{
    col = std::clamp(col, m_fixedCols, ColCount() - 1);
    row = std::clamp(row, m_fixedRows, RowCount() - 1);
    if ((col == m_col && row == m_row) || !SelectCell(col, row))
        return;
    InvalidateCell(m_col, m_row);
    m_col = col;
    m_row = row;
    scrollIntoView(col, row);
    InvalidateCell(col, row);
    if (m_editorWanted)
        scheduleEditor();
    CellMoved();
}

int TCustomGrid::VisibleRowCount() const
{
    int height = viewport()->height() - rowTop(m_fixedRows);
    int count = 0;
    for (int row = m_topRow; row < RowCount() && height >= RowHeights(row); ++row) {
        height -= RowPitch(row);
        ++count;
    }
    return count;
}

int TCustomGrid::VisibleColCount() const
{
    int width = viewport()->width() - colLeft(m_fixedCols);
    int count = 0;
    for (int col = m_leftCol; col < ColCount() && width >= ColWidths(col); ++col) {
        width -= ColPitch(col);
        ++count;
    }
    return std::max(1, count);
}

int TCustomGrid::colLeft(int col) const
{
    int x = 0;
    for (int c = 0; c < std::min(col, m_fixedCols); ++c)
        x += ColPitch(c);
    for (int c = m_leftCol; c < col; ++c)
        x += ColPitch(c);
    return x;
}

int TCustomGrid::rowTop(int row) const
{
    int y = 0;
    for (int r = 0; r < std::min(row, m_fixedRows); ++r)
        y += RowPitch(r);
    for (int r = m_topRow; r < row; ++r)
        y += RowPitch(r);
    return y;
}

QRect TCustomGrid::CellRect(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return {};
    if ((col >= m_fixedCols && col < m_leftCol) || (row >= m_fixedRows && row < m_topRow))
        return {};
    const QRect rect(colLeft(col), rowTop(row), ColWidths(col), RowHeights(row));
    return rect.intersects(viewport()->rect()) ? rect : QRect();
}

QPoint TCustomGrid::MouseCoord(int x, int y) const
{
    int col = -1;
    for (int c = 0; c < ColCount() && col < 0; ++c) {
        if (c >= m_fixedCols && c < m_leftCol)
            continue;
        const int left = colLeft(c);
        if (x >= left && x < left + ColPitch(c))
            col = c;
    }
    int row = -1;
    for (int r = 0; r < RowCount() && row < 0; ++r) {
        if (r >= m_fixedRows && r < m_topRow)
            continue;
        const int top = rowTop(r);
        if (y >= top && y < top + RowPitch(r))
            row = r;
    }
    if (col < 0 || row < 0 || x >= viewport()->width() || y >= viewport()->height())
        return {-1, -1};
    return {col, row};
}

void TCustomGrid::scrollIntoView(int col, int row)
{
    if (col >= m_fixedCols && col < m_leftCol)
        SetLeftCol(col);
    while (col > m_leftCol && colLeft(col) + ColWidths(col) > viewport()->width())
        SetLeftCol(m_leftCol + 1);
    if (row >= m_fixedRows && row < m_topRow)
        SetTopRow(row);
    while (row > m_topRow && rowTop(row) + RowHeights(row) > viewport()->height())
        SetTopRow(m_topRow + 1);
}

void TCustomGrid::UpdateHorzScrollBar()
{
    int total = 0;
    for (int col = 0; col < ColCount(); ++col)
        total += ColPitch(col);
    const bool needed = total > viewport()->width();
    m_syncingScrollBar = true;
    horizontalScrollBar()->setRange(0, needed ? ColCount() - 1 - m_fixedCols : 0);
    horizontalScrollBar()->setPageStep(std::max(1, VisibleColCount()));
    horizontalScrollBar()->setValue(m_leftCol - m_fixedCols);
    m_syncingScrollBar = false;
}

void TCustomGrid::scrollContentsBy(int dx, int)
{
    if (m_syncingScrollBar || dx == 0)
        return;
    SetLeftCol(m_fixedCols + horizontalScrollBar()->value());
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty())
        viewport()->update(rect.adjusted(0, 0, m_gridLineWidth, m_gridLineWidth));
}

void TCustomGrid::InvalidateRow(int row)
{
    if (row < m_fixedRows || row >= m_topRow)
        viewport()->update(QRect(0, rowTop(row), viewport()->width(), RowPitch(row)));
}

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

void TCustomGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const int bottom = viewport()->height();
    const int right = viewport()->width();
    for (int row = 0, y = 0; row < RowCount() && y < bottom; ++row) {
        if (row >= m_fixedRows && row < m_topRow)
            continue;
        for (int col = 0, x = 0; col < ColCount() && x < right; ++col) {
            if (col >= m_fixedCols && col < m_leftCol)
                continue;
            const QRect cell(x, y, ColWidths(col), RowHeights(row));
            x += ColPitch(col);
            if (!cell.intersects(event->rect()))
                continue;
            TGridDrawState state = 0;
            if (col < m_fixedCols || row < m_fixedRows)
                state |= gdFixed;
            else if (col == m_col && row == m_row)
                state |= gdSelected | (hasFocus() ? gdFocused : 0);
            painter.save();
            painter.setClipRect(cell);
            DrawCell(painter, col, row, cell, state);
            painter.restore();
            if (state & gdFocused)
                drawFocusFrame(painter, cell);
            if (m_gridLineWidth > 0) {
                painter.setPen(palette().color(QPalette::Mid));
                painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
                painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
            }
        }
        y += RowPitch(row);
    }
    PaintOver(painter);
}

// A dotted frame that inverts what lies under it, so the current cell shows
// on a highlighted row as on a plain one.
void TCustomGrid::drawFocusFrame(QPainter &painter, const QRect &cell)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.restore();
}

void TCustomGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateHorzScrollBar();
    SizeChanged();
    if (m_editorWanted)
        scheduleEditor();
}

void TCustomGrid::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        FocusCell(m_col - 1, m_row);
        break;
    case Qt::Key_Right:
        FocusCell(m_col + 1, m_row);
        break;
    case Qt::Key_Up:
        FocusCell(m_col, m_row - 1);
        break;
    case Qt::Key_Down:
        FocusCell(m_col, m_row + 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

int TCustomGrid::sizingEdgeAt(const QPoint &pos) const
{
    if (pos.y() >= rowTop(m_fixedRows) || m_fixedRows == 0 || !CanSizeColumns())
        return -1;
    for (int col = 0; col < ColCount(); ++col) {
        if (col >= m_fixedCols && col < m_leftCol)
            continue;
        const int edge = colLeft(col) + ColWidths(col);
        if (std::abs(pos.x() - edge) <= sizingMargin)
            return col;
    }
    return -1;
}

void TCustomGrid::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const int edge = event->button() == Qt::LeftButton ? sizingEdgeAt(event->position().toPoint()) : -1;
    if (edge < 0) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_sizingCol = edge;
    m_sizingStart = event->position().toPoint().x();
    m_sizingWidth = ColWidths(edge);
}

void TCustomGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_sizingCol >= 0) {
        SetColWidths(m_sizingCol, std::max(minimumColWidth, m_sizingWidth + pos.x() - m_sizingStart));
        return;
    }
    viewport()->setCursor(sizingEdgeAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_sizingCol < 0)
        return;
    const int sized = m_sizingCol;
    m_sizingCol = -1;
    ColWidthsChanged(sized);
}

void TCustomGrid::ShowEditor()
{
    m_editorWanted = true;
    scheduleEditor();
}

void TCustomGrid::ShowEditorNow()
{
    m_editorWanted = true;
    if (m_editorTimer) {
        killTimer(m_editorTimer);
        m_editorTimer = 0;
    }
    placeEditor();
}

void TCustomGrid::HideEditor()
{
    m_editorWanted = false;
    if (m_editorTimer) {
        killTimer(m_editorTimer);
        m_editorTimer = 0;
    }
    if (m_editor && m_editor->isVisible()) {
        const bool hadFocus = m_editor->hasFocus();
        m_editor->hide();
        if (hadFocus)
            setFocus();
    }
}

void TCustomGrid::InvalidateEditor()
{
    if (m_editor && m_editor->isVisible())
        LoadEditor(m_editor);
}

// The editor is placed from the event loop, never from painting or from
// the middle of a move, so the cell it covers is settled.
void TCustomGrid::scheduleEditor()
{
    if (!m_editorTimer)
        m_editorTimer = startTimer(0);
}

void TCustomGrid::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_editorTimer) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    killTimer(m_editorTimer);
    m_editorTimer = 0;
    placeEditor();
}

void TCustomGrid::placeEditor()
{
    const QRect rect = CellRect(m_col, m_row);
    if (!m_editorWanted || !CanEditShow() || rect.isEmpty()) {
        if (m_editor)
            m_editor->hide();
        return;
    }
    if (!m_editor)
        m_editor = CreateEditor();
    if (!m_editor)
        return;
    if (m_editor->parentWidget() != viewport())
        m_editor->setParent(viewport());
    m_editor->setGeometry(rect);
    if (!m_editor->isVisible() || m_editorCell != QPoint(m_col, m_row))
        LoadEditor(m_editor);
    m_editor->setGeometry(EditorRect(rect));
    m_editorCell = QPoint(m_col, m_row);
    m_editor->show();
    if (hasFocus())
        m_editor->setFocus();
}
