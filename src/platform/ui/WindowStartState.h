#pragma once

class QWindow;

namespace ui {

// Qt marks a window on X to start minimised when it minimises it, and keeps
// the mark when the window manager restores the window; the window would
// then come back minimised each time it is hidden and shown again. This
// marks it to start as a normal window. Nothing happens on other platforms
// or for a window without a native window.
void markToStartNormal(QWindow *window);

}
