#include "lib/edit/Qkdotdot.h"

#include "lib/data/QkcommonPaint.h"

#include <QPainter>
#include <QStyle>

TqkComboButton::TqkComboButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void TqkComboButton::SetButtonStyle(TqkComboButtonStyle style)
{
    m_style = style;
    update();
}

void TqkComboButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_style == cbsDownArrow)
        qkDrawComboButton(painter, rect(), isDown(), 0, isEnabled(), this);
    else
        qkDrawEllipsisButton(painter, rect(), 0, isDown() ? 0x80 : 0, this);
}

int qkComboButtonWidth(const QWidget *control)
{
    return qMax(control->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, control), 15);
}
