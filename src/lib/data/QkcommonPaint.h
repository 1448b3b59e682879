#pragma once

#include <QList>
#include <QRect>

#include <cstdint>

class QFontMetrics;
class QObject;
class QPainter;
class QWidget;

// Drawing and key helpers shared by the grid, the edit controls and the
// filter dialog. The geometry is kept in pure functions.

// The three square dots of an ellipsis button: each (width + 1) / 8 pixels and
// at least 1, centred, their centres two dot sizes apart.
QList<QRect> qkEllipsisDots(const QRect &rect);
// Style 2 draws a flat face unless bit 7 of the state byte is set.
void qkDrawEllipsisButton(QPainter &painter, const QRect &rect, int style, std::uint8_t state,
                          const QWidget *widget = nullptr);

struct TqkComboButtonLook
{
    bool enabled = true;
    bool pushed = false;
    bool flat = false;
};
TqkComboButtonLook qkComboButtonLook(bool pressed, std::uint8_t state, bool enabled);
void qkDrawComboButton(QPainter &painter, const QRect &rect, bool pressed, std::uint8_t state, bool enabled,
                       const QWidget *widget = nullptr);

// A key-state byte with bit 7 set: the key is down.
inline bool qkHighBitSet(std::uint8_t value)
{
    return (value & 0x80) != 0;
}

void qkDrawFocusRect(QPainter &painter, const QRect &rect, const QWidget *widget = nullptr);

// True when only one line of text fits: the rectangle is not taller than a
// line plus 3 plus twice the border.
bool qkFitsOneLine(int lineHeight, int rectHeight);
bool qkFitsOneLine(const QFontMetrics &metrics, const QRect &rect);

// Posts a press and a release of Key with the modifier held, as the grid
// opens an embedded combo box with Alt+Down.
void qkSimulateKey(QWidget *window, int key, int modifierKey);

// Keys that change a field's text: Backspace, Space, Delete, digits, letters,
// the keypad, punctuation and the other character keys; not the navigation,
// function, lock or modifier keys.
bool qkIsEditKey(int key);

// The first window among the owners, or the topmost owner.
QObject *qkGetParentForm(QObject *component);
void qkGetWorkArea(QRect &rect);
