#include "platform/ui/ScreenPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace ui {

namespace {

// The frame around the window as the platform knows it: under X once the
// window manager has framed the window, on the screen or before; none where
// the platform draws no frames.
std::optional<QMargins> drawnFrame(const QWidget *window)
{
    const QWindow *handle = window->windowHandle();
    if (!handle || !handle->handle())
        return std::nullopt;
    const QMargins margins = handle->frameMargins();
    if (margins.isNull() && !handle->isExposed())
        return std::nullopt;
    return margins;
}

// The window's own frame once it has been on the screen; before that the
// frame of another window of the program on the screen, and without one
// the style's idea of a title bar and border.
QMargins frameMargins(const QWidget *window)
{
    if (const auto own = drawnFrame(window))
        return *own;
    std::optional<QMargins> other;
    for (const QWidget *shown : QApplication::topLevelWidgets())
        if (const auto frame = drawnFrame(shown); frame && (!other || other->isNull()))
            other = frame;
    if (other)
        return *other;
    const QStyle *style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {border, title + border, border, border};
}

QRect availableAround(const QWidget *window, const QPoint &point)
{
    const QScreen *screen = QApplication::screenAt(point);
    if (!screen)
        screen = window->screen() ? window->screen() : QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The window's own area for a frame of `margins` at `framePosition` around
// an area of `size`, brought inside the screen.
QRect placedArea(const QWidget *window, const QPoint &framePosition, const QSize &size, const QMargins &margins)
{
    // The window will not be smaller than its controls need.
    const QSize least = window->minimumSize().expandedTo(window->minimumSizeHint());
    const QRect wanted(framePosition, size.expandedTo(least).grownBy(margins));
    return fitInside(wanted, availableAround(window, wanted.center())).marginsRemoved(margins);
}

// A window's frame is known only once the window manager has drawn it, and
// a dialog's frame may differ from the main window's (a resize handle).
// Then the window is placed once more with its real frame.
class FrameCorrection : public QObject
{
public:
    FrameCorrection(QWidget *window, const QPoint &framePosition, const QSize &size)
        : QObject(window), m_window(window), m_framePosition(framePosition), m_size(size)
    {
        setObjectName(name);
        window->installEventFilter(this);
    }

    // A window's correction still waiting, found by its name.
    static constexpr const char *name = "frameCorrection";

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show && m_window->windowHandle())
            m_window->windowHandle()->installEventFilter(this);
        if (watched == m_window->windowHandle() && event->type() == QEvent::Expose) {
            if (const auto real = drawnFrame(m_window))
                m_window->setGeometry(placedArea(m_window, m_framePosition, m_size, *real));
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
    QPoint m_framePosition;
    QSize m_size;
};

}

QRect fitInside(const QRect &frame, const QRect &available)
{
    if (available.isEmpty())
        return frame;
    const QSize size = frame.size().boundedTo(available.size());
    const int left = qBound(available.left(), frame.left(), available.left() + available.width() - size.width());
    const int top = qBound(available.top(), frame.top(), available.top() + available.height() - size.height());
    return {QPoint(left, top), size};
}

void placeInsideScreen(QWidget *window, const QPoint &framePosition, const QSize &size)
{
    // The window's own area is placed: Qt takes a position with the frame
    // for the area's own while it does not know the frame yet. A platform
    // that frames windows itself tells the frame once the window exists.
    static_cast<void>(window->winId());
    window->setGeometry(placedArea(window, framePosition, size, frameMargins(window)));
    delete window->findChild<QObject *>(QLatin1String(FrameCorrection::name), Qt::FindDirectChildrenOnly);
    if (!drawnFrame(window))
        new FrameCorrection(window, framePosition, size);
}

void sizeInsideScreen(QWidget *window, const QSize &size)
{
    const QRect available = availableAround(window, window->geometry().center());
    QRect frame(QPoint(), size.grownBy(frameMargins(window)));
    frame.moveCenter(available.center());
    placeInsideScreen(window, frame.topLeft(), size);
}

}
