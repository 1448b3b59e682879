#include "lib/edit/qkPopup.h"

#include "lib/data/QkcommonPaint.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>

void qkMakeDropDownWindow(QWidget *window)
{
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setFocusPolicy(Qt::NoFocus);
}

TqkPopupFrame::TqkPopupFrame(QWidget *owner) : QFrame(owner)
{
    qkMakeDropDownWindow(this);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    hide();
}

void TqkPopupFrame::showAt(const QPoint &topLeft, const QSize &size)
{
    setGeometry(QRect(topLeft, size));
    show();
    raise();
}

QPoint qkDropDownPosition(const QWidget *control, const QSize &size, int left)
{
    const QPoint origin = control->mapToGlobal(QPoint(0, 0));
    QRect workArea;
    qkGetWorkArea(workArea);
    int top = origin.y() + control->height() - 1;
    if (top + size.height() > workArea.bottom() + 1 && origin.y() - size.height() > 0)
        top = origin.y() - size.height();
    const QScreen *screen = control->screen();
    const int screenWidth = screen ? screen->geometry().right() + 1 : workArea.right() + 1;
    if (origin.x() + size.width() >= screenWidth)
        left = origin.x() + control->width() - 1 - size.width();
    return {left, top};
}

TqkOutsideClickCloser::TqkOutsideClickCloser(QWidget *control, std::function<QWidget *()> popup,
                                             std::function<bool()> mayClose, std::function<void()> close)
    : QObject(control), m_control(control), m_popup(std::move(popup)), m_mayClose(std::move(mayClose)),
      m_close(std::move(close))
{}

void TqkOutsideClickCloser::setWatching(bool watching)
{
    if (watching == m_watching)
        return;
    m_watching = watching;
    if (watching) {
        QToolTip::hideText();
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
    }
}

bool TqkOutsideClickCloser::isInside(const QPoint &globalPos) const
{
    const QWidget *popup = m_popup();
    for (const QWidget *widget : {static_cast<const QWidget *>(m_control.data()), popup}) {
        if (widget && widget->isVisible()
            && QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()).contains(globalPos))
            return true;
    }
    return false;
}

bool TqkOutsideClickCloser::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // Hints stay off while the drop-down is open: they would cover it.
    if (type == QEvent::ToolTip)
        return true;
    if ((type == QEvent::MouseButtonPress || type == QEvent::NonClientAreaMouseButtonPress)
        && watched->isWidgetType()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !isInside(mouse->globalPosition().toPoint()) && m_mayClose())
            m_close();
    }
    return false;
}
