#include "lib/grid/qkIButton.h"

#include "lib/grid/qkCustomDBGrid.h"

#include <QMoveEvent>

TqkIButton::TqkIButton(TqkCustomDBGrid *grid) : QToolButton(grid->viewport()), m_grid(grid)
{
    setAutoRaise(false);
    setFocusPolicy(Qt::NoFocus);
    show();
    m_grid->RegisterIndicatorButton(this);
}

void TqkIButton::resizeEvent(QResizeEvent *event)
{
    QToolButton::resizeEvent(event);
    m_grid->IndicatorButtonResized();
}

// The button never leaves the corner cell's top-left edge.
void TqkIButton::moveEvent(QMoveEvent *event)
{
    QToolButton::moveEvent(event);
    if (x() > 0 || y() > 0)
        move(std::min(x(), 0), std::min(y(), 0));
}
