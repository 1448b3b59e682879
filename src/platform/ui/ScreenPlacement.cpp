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

// Keeps the frame the window manager last drew around a window: once the
// window is hidden its frame is gone, and its stored place is the frame's.
// The frame is known only once it is drawn, and a dialog's frame may differ
// from the main window's (a resize handle), so a window placed before that
// is placed once more with its real frame.
class FrameMemory : public QObject
{
public:
    explicit FrameMemory(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(name);
        window->windowHandle()->installEventFilter(this);
    }

    static constexpr const char *name = "frameMemory";

    static FrameMemory *of(const QWidget *window)
    {
        return static_cast<FrameMemory *>(
            window->findChild<QObject *>(QLatin1String(name), Qt::FindDirectChildrenOnly));
    }

    void placeAgainWhenDrawn(const QPoint &framePosition, const QSize &size)
    {
        m_pending = true;
        m_framePosition = framePosition;
        m_size = size;
    }

    std::optional<QMargins> lastFrame() const { return m_frame; }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Expose)
            return false;
        const auto drawn = drawnFrame(m_window);
        if (!drawn)
            return false;
        m_frame = drawn;
        if (m_pending) {
            m_pending = false;
            m_window->setGeometry(placedArea(m_window, m_framePosition, m_size, *drawn));
        }
        return false;
    }

private:
    QWidget *m_window;
    std::optional<QMargins> m_frame;
    bool m_pending = false;
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
    FrameMemory *memory = FrameMemory::of(window);
    if (!memory)
        memory = new FrameMemory(window);
    const auto drawn = drawnFrame(window);
    const QMargins margins = drawn ? *drawn : memory->lastFrame().value_or(frameMargins(window));
    window->setGeometry(placedArea(window, framePosition, size, margins));
    if (!drawn && !memory->lastFrame())
        memory->placeAgainWhenDrawn(framePosition, size);
}

QPoint framePosition(const QWidget *window)
{
    if (const FrameMemory *memory = FrameMemory::of(window); memory && memory->lastFrame())
        return window->geometry().topLeft() - QPoint(memory->lastFrame()->left(), memory->lastFrame()->top());
    return window->pos();
}

void sizeInsideScreen(QWidget *window, const QSize &size)
{
    const QRect available = availableAround(window, window->geometry().center());
    QRect frame(QPoint(), size.grownBy(frameMargins(window)));
    frame.moveCenter(available.center());
    placeInsideScreen(window, frame.topLeft(), size);
}

}
