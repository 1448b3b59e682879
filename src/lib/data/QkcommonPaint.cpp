#include "lib/data/QkcommonPaint.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace {

constexpr int borderHeight = 1;

QStyle *styleFor(const QWidget *widget)
{
    return widget ? widget->style() : QApplication::style();
}

void drawButtonFace(QPainter &painter, const QRect &rect, bool sunken, bool flat, bool enabled, const QWidget *widget)
{
    QStyleOptionButton option;
    option.rect = rect;
    option.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
    option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    if (flat)
        option.features |= QStyleOptionButton::Flat;
    styleFor(widget)->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, widget);
}

Qt::KeyboardModifiers modifierOf(int key)
{
    switch (key) {
    case Qt::Key_Alt:
        return Qt::AltModifier;
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Meta:
        return Qt::MetaModifier;
    default:
        return Qt::NoModifier;
    }
}

} // namespace

QList<QRect> qkEllipsisDots(const QRect &rect)
{
    const int size = qMax(1, (rect.width() + 1) / 8);
    const int left = rect.left() + (rect.width() - size) / 2;
    const int top = rect.top() + (rect.height() - size) / 2;
    return {QRect(left - 2 * size, top, size, size), QRect(left, top, size, size),
            QRect(left + 2 * size, top, size, size)};
}

void qkDrawEllipsisButton(QPainter &painter, const QRect &rect, int style, std::uint8_t state, const QWidget *widget)
{
    const bool flat = style == 2 && !qkHighBitSet(state);
    drawButtonFace(painter, rect, false, flat, true, widget);
    for (const QRect &dot : qkEllipsisDots(rect))
        painter.fillRect(dot, Qt::black);
}

TqkComboButtonLook qkComboButtonLook(bool pressed, std::uint8_t state, bool enabled)
{
    TqkComboButtonLook look;
    look.enabled = enabled;
    if (enabled && pressed && !qkHighBitSet(state)) {
        look.pushed = true;
        look.flat = true;
    }
    return look;
}

void qkDrawComboButton(QPainter &painter, const QRect &rect, bool pressed, std::uint8_t state, bool enabled,
                       const QWidget *widget)
{
    const TqkComboButtonLook look = qkComboButtonLook(pressed, state, enabled);
    drawButtonFace(painter, rect, look.pushed, look.flat, look.enabled, widget);
    QStyleOption arrow;
    arrow.rect = rect;
    arrow.state = look.enabled ? QStyle::State_Enabled : QStyle::State_None;
    if (widget)
        arrow.palette = widget->palette();
    styleFor(widget)->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, widget);
}

void qkDrawFocusRect(QPainter &painter, const QRect &rect, const QWidget *widget)
{
    const QColor highlight =
        widget ? widget->palette().color(QPalette::Highlight) : QApplication::palette().color(QPalette::Highlight);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(highlight);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
    QStyleOptionFocusRect option;
    option.rect = rect;
    option.backgroundColor = highlight;
    styleFor(widget)->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
}

bool qkFitsOneLine(int lineHeight, int rectHeight)
{
    return rectHeight <= lineHeight + 3 + 2 * borderHeight;
}

bool qkFitsOneLine(const QFontMetrics &metrics, const QRect &rect)
{
    return qkFitsOneLine(metrics.height(), rect.height());
}

void qkSimulateKey(QWidget *window, int key, int modifierKey)
{
    if (!window)
        return;
    const Qt::KeyboardModifiers modifiers = modifierOf(modifierKey);
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

bool qkIsEditKey(int key)
{
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
        return true;
    if (key >= Qt::Key_Space && key <= Qt::Key_ydiaeresis)
        return true;
    if (key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_Menu)
        return true;
    return key >= Qt::Key_Back && key <= Qt::Key_LaunchF;
}

QObject *qkGetParentForm(QObject *component)
{
    QObject *topmost = component;
    for (QObject *owner = component; owner; owner = owner->parent()) {
        auto *widget = qobject_cast<QWidget *>(owner);
        if (widget && widget->isWindow())
            return widget;
        topmost = owner;
    }
    return topmost;
}

void qkGetWorkArea(QRect &rect)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    rect = screen ? screen->availableGeometry() : QRect();
}
