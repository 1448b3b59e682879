#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

class QPalette;

// How the grid paints pictures into cells: bitmaps from fields with a fit
// mode and a copy mode, image-list pictures, and the two check-box styles.
namespace gridpictures {

// The raster operation of a copy-mode name; "Source Copy" for an unknown name.
QPainter::CompositionMode copyModeFromName(const QString &name);

// Composes the bitmap into the cell over the background; an unknown fit
// mode or an empty bitmap leaves the background only.
void drawBitmapCell(QPainter &painter, const QRect &cell, const QColor &background, const QImage &bitmap,
                    const QString &fitMode, const QString &copyMode);

// The image centred and clipped, or with shrinkToFit stretched over the cell.
void drawImageCell(QPainter &painter, const QRect &cell, const QColor &background, const QImage &image,
                   bool shrinkToFit);

// Lines along the top and left edge in one colour, bottom and right in the
// other: raised or sunken, as the colours are given.
void drawFrame(QPainter &painter, const QRect &rect, const QColor &topLeft, const QColor &bottomRight);

// A 10 x 10 box with a check mark.
void drawCheckMarkBox(QPainter &painter, const QRect &box, bool checked, bool enabled, const QPalette &palette);
// A sunken box with an X, one pixel larger than the check-mark box on each side.
void drawXMarkBox(QPainter &painter, const QRect &box, bool checked, const QPalette &palette);

// The record indicator's glyphs: black shapes on white, made once for the process.
enum class IndicatorGlyph { Arrow, Edit, Insert };
const QImage &indicatorGlyph(IndicatorGlyph glyph);

// Centres the glyph in the cell: ANDed onto the cell, so black marks and
// white leaves the cell's colour; or yellow, from a copy whose white turns
// into the cell's colour and whose black into yellow, copied as it is.
void drawIndicatorGlyph(QPainter &painter, const QRect &cell, const QImage &glyph, const QColor &cellColor,
                        bool yellow);

}
