#include "lib/grid/qkGridFooter.h"

#include "lib/grid/qkCustomDBGrid.h"

#include <QPainter>

TqkGridFooter::TqkGridFooter(TqkCustomDBGrid *grid) : QWidget(grid), m_grid(grid)
{
    hide();
}

void TqkGridFooter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_grid->PaintFooter(painter, rect());
}
