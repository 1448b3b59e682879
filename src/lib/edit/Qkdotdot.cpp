#include "lib/edit/Qkdotdot.h"

#include "lib/data/QkcommonPaint.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

TqkComboButton::TqkComboButton(QLineEdit *edit) : QAbstractButton(edit), m_edit(edit)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    edit->installEventFilter(this);
    place();
}

void TqkComboButton::SetButtonStyle(TqkComboButtonStyle style)
{
    m_style = style;
    update();
}

void TqkComboButton::SetShown(bool shown)
{
    m_shown = shown;
    place();
}

void TqkComboButton::place()
{
    const int frame =
        m_edit->hasFrame() ? m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_edit) : 0;
    const int buttonWidth = qkComboButtonWidth(m_edit);
    setGeometry(m_edit->width() - frame - buttonWidth, frame, buttonWidth, m_edit->height() - 2 * frame);
    setVisible(m_shown);
    m_edit->setTextMargins(0, 0, m_shown ? buttonWidth : 0, 0);
}

bool TqkComboButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::Resize)
        place();
    else if (watched == m_edit && event->type() == QEvent::EnabledChange)
        setEnabled(m_edit->isEnabled());
    return false;
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
