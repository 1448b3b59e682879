#pragma once

#include <QFrame>
#include <QPointer>

#include <functional>

// A drop-down window (list or calendar) that shows beside its control and
// never takes the keyboard focus from it: a tool window that is not
// activated, not a Qt pop-up, which would grab the keyboard.
class TqkPopupFrame : public QFrame
{
    Q_OBJECT

public:
    explicit TqkPopupFrame(QWidget *owner);
    // Shows the window at the screen position, topmost and without activation.
    void showAt(const QPoint &topLeft, const QSize &size);
};

// Makes a widget such a window.
void qkMakeDropDownWindow(QWidget *window);

// Below the control, or above it when it would leave the work area; moved
// left so that its right edge meets the control's when it would leave the
// screen. `left` is the wanted screen x.
QPoint qkDropDownPosition(const QWidget *control, const QSize &size, int left);

// While a control is dropped down, closes the drop-down with acceptance when
// the user presses a mouse button outside both the control and its pop-up,
// and keeps hints from showing. It watches the whole application and belongs to the control, so it goes
// away with it.
class TqkOutsideClickCloser : public QObject
{
    Q_OBJECT

public:
    TqkOutsideClickCloser(QWidget *control, std::function<QWidget *()> popup, std::function<bool()> mayClose,
                          std::function<void()> close);
    void setWatching(bool watching);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isInside(const QPoint &globalPos) const;

    QPointer<QWidget> m_control;
    std::function<QWidget *()> m_popup;
    std::function<bool()> m_mayClose;
    std::function<void()> m_close;
    bool m_watching = false;
};
