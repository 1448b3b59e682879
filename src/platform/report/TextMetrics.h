#pragma once

#include "platform/report/Layout.h"

namespace report {

// Text is laid out at this resolution wherever it is measured or drawn, so
// that a line takes the same room on the screen as on paper.
constexpr double kTextLayoutDpi = 1200;

// Height in millimetres that `text` takes in `font` within `widthMm`
// (wrapped at word boundaries when `wrap` is set).
double textHeightMm(const QString &text, const FontSpec &font, double widthMm, bool wrap);

// Width in millimetres that `text` takes on one line in `font`.
double textWidthMm(const QString &text, const FontSpec &font);

// Painter flags for text drawn in a box.
int textFlags(Qt::Alignment align, bool wrap);

}
