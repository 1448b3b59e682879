#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// `frame` moved, and where it is larger shrunk, so that it lies inside
// `available`; a rectangle that fits already is returned as it is.
QRect fitInside(const QRect &frame, const QRect &available);

// Places a window with its frame's upper left corner at `framePosition` and
// its own area `size` large, brought inside the available area of the screen
// it is on; where it fits it stays exactly there.
void placeInsideScreen(QWidget *window, const QPoint &framePosition, const QSize &size);

// Where the window's frame stands, as the platform tells it now: the
// widget's own idea of its frame can lag behind the window manager's.
QPoint framePosition(const QWidget *window);

// Gives a window its own area `size` large, centred on its screen's
// available area and shrunk where the screen is smaller.
void sizeInsideScreen(QWidget *window, const QSize &size);

}
