#pragma once

#include "platform/report/Layout.h"

namespace report {

// Text is laid out at this resolution wherever it is measured or drawn, so
// that a line takes the same room on the screen as on paper.
constexpr double kTextLayoutDpi = 1200;

// A kept-whole line is set no smaller than this share of its font size.
constexpr double kSmallestShrink = 0.6;

// A text as it is set in a box: its lines and the font they take.
struct FittedText
{
    QStringList lines;
    FontSpec font;

    QString text() const { return lines.size() == 1 ? lines.constFirst() : lines.join(QLatin1Char('\n')); }
    double heightMm() const;
};

// Sets `text` into a box `widthMm` wide so that no character is lost.
// Wrapped text breaks at word boundaries, and inside a word that is wider
// than the box. Text that is not wrapped keeps its lines whole in a smaller
// font, down to kSmallestShrink of its size; what is still too wide there
// breaks as wrapped text does.
FittedText fitText(const QString &text, const FontSpec &font, double widthMm, bool wrap);

// Width in millimetres that `text` takes on one line in `font`.
double textWidthMm(const QString &text, const FontSpec &font);

// Painter flags for fitted text drawn in a box.
int textFlags(Qt::Alignment align);

}
