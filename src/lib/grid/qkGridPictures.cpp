#include "lib/grid/qkGridPictures.h"

#include <QPalette>

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace gridpictures {

QPainter::CompositionMode copyModeFromName(const QString &name)
{
    static const std::array<std::pair<const char *, QPainter::CompositionMode>, 8> modes{{
        {"Source Copy", QPainter::CompositionMode_Source},
        {"Source Paint", QPainter::RasterOp_SourceOrDestination},
        {"Source And", QPainter::RasterOp_SourceAndDestination},
        {"Source Invert", QPainter::RasterOp_SourceXorDestination},
        {"Source Erase", QPainter::RasterOp_SourceAndNotDestination},
        {"Not Source Copy", QPainter::RasterOp_NotSource},
        {"Not Source Erase", QPainter::RasterOp_NotSourceAndNotDestination},
        {"Merge Paint", QPainter::RasterOp_NotSourceOrDestination},
    }};
    for (const auto &[modeName, mode] : modes)
        if (name == QLatin1String(modeName))
            return mode;
    return QPainter::CompositionMode_Source;
}

namespace {

struct Placement
{
    QRect source;
    QRect target;
};

// Source and target rectangles of a fit mode; an empty target draws nothing.
Placement place(const QSize &bitmap, const QSize &cell, const QString &fitMode)
{
    const int w = bitmap.width();
    const int h = bitmap.height();
    const int cw = cell.width();
    const int ch = cell.height();
    if (fitMode == QLatin1String("Original Size")) {
        const QSize size(std::min(w, cw - 1), std::min(h, ch - 1));
        return {QRect(QPoint(0, 0), size), QRect(QPoint(1, 1), size)};
    }
    if (fitMode == QLatin1String("Stretch To Fit"))
        return {QRect(QPoint(0, 0), bitmap), QRect(QPoint(0, 0), cell)};
    if (fitMode == QLatin1String("Fit Height")) {
        const int fullWidth = w * ch / h;
        const int drawnWidth = std::min(fullWidth, cw);
        const int sourceWidth = fullWidth > cw ? w * cw / fullWidth : w;
        if (drawnWidth <= 2 || ch <= 2)
            return {};
        return {QRect(0, 0, sourceWidth, h), QRect(QPoint(1, 0), QPoint(drawnWidth, ch - 1))};
    }
    if (fitMode == QLatin1String("Fit Width")) {
        const int fullHeight = h * cw / w;
        const int drawnHeight = std::min(fullHeight, ch);
        const int sourceHeight = fullHeight > ch ? h * ch / fullHeight : h;
        if (cw <= 2 || drawnHeight <= 2)
            return {};
        return {QRect(0, 0, w, sourceHeight), QRect(QPoint(1, 0), QPoint(cw, drawnHeight - 1))};
    }
    return {};
}

// The one off-screen picture every grid of the process composes its
// pictured cells in: it grows to the largest cell and never shrinks, so no
// cell allocates a picture of its own.
QImage &cellBuffer(const QSize &cell, const QColor &background)
{
    static QImage buffer;
    if (buffer.width() < cell.width() || buffer.height() < cell.height())
        buffer = QImage(buffer.size().expandedTo(cell), QImage::Format_RGB32);
    QPainter painter(&buffer);
    painter.fillRect(QRect(QPoint(0, 0), cell), background);
    return buffer;
}

void copyToCell(QPainter &painter, const QRect &cell, const QImage &buffer)
{
    painter.drawImage(cell.topLeft(), buffer, QRect(QPoint(0, 0), cell.size()));
}

}

void drawBitmapCell(QPainter &painter, const QRect &cell, const QColor &background, const QImage &bitmap,
                    const QString &fitMode, const QString &copyMode)
{
    QImage &buffer = cellBuffer(cell.size(), background);
    const Placement placement = bitmap.isNull() ? Placement{} : place(bitmap.size(), cell.size(), fitMode);
    if (!placement.target.isEmpty()) {
        QPainter composer(&buffer);
        composer.setClipRect(QRect(QPoint(0, 0), cell.size()));
        composer.setCompositionMode(copyModeFromName(copyMode));
        composer.drawImage(placement.target, bitmap.convertToFormat(QImage::Format_RGB32), placement.source);
    }
    copyToCell(painter, cell, buffer);
}

void drawImageCell(QPainter &painter, const QRect &cell, const QColor &background, const QImage &image,
                   bool shrinkToFit)
{
    QImage &buffer = cellBuffer(cell.size(), background);
    if (!image.isNull()) {
        QPainter composer(&buffer);
        composer.setClipRect(QRect(QPoint(0, 0), cell.size()));
        if (shrinkToFit)
            composer.drawImage(QRect(QPoint(0, 0), cell.size()), image);
        else
            composer.drawImage((cell.width() - image.width()) / 2, (cell.height() - image.height()) / 2, image);
    }
    copyToCell(painter, cell, buffer);
}

void drawFrame(QPainter &painter, const QRect &rect, const QColor &topLeft, const QColor &bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void drawCheckMarkBox(QPainter &painter, const QRect &box, bool checked, bool enabled, const QPalette &palette)
{
    painter.fillRect(box, enabled ? palette.color(QPalette::Base) : palette.color(QPalette::Window));
    painter.setBrush(Qt::NoBrush);
    drawFrame(painter, box, palette.color(QPalette::Dark), palette.color(QPalette::Light));
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(1, 1, -2, -2));
    if (!checked)
        return;
    painter.setPen(QPen(enabled ? QColor(Qt::black) : palette.color(QPalette::Dark), 2));
    painter.drawLine(box.left() + 2, box.top() + 5, box.left() + 4, box.top() + 7);
    painter.drawLine(box.left() + 4, box.top() + 7, box.left() + 8, box.top() + 2);
}

void drawXMarkBox(QPainter &painter, const QRect &box, bool checked, const QPalette &palette)
{
    const QRect frame = box.adjusted(-1, -1, 1, 1);
    painter.fillRect(frame, palette.color(QPalette::Base));
    painter.setBrush(Qt::NoBrush);
    drawFrame(painter, frame, palette.color(QPalette::Dark), Qt::white);
    drawFrame(painter, frame.adjusted(1, 1, -1, -1), Qt::black, palette.color(QPalette::Mid));
    if (!checked)
        return;
    painter.setPen(QPen(Qt::black, 2));
    const QRect inner = frame.adjusted(3, 3, -3, -3);
    painter.drawLine(inner.topLeft(), inner.bottomRight());
    painter.drawLine(inner.bottomLeft(), inner.topRight());
}

namespace {

QImage glyphFromRows(std::initializer_list<const char *> rows)
{
    const int width = int(std::strlen(*rows.begin()));
    QImage glyph(width, int(rows.size()), QImage::Format_RGB32);
    int y = 0;
    for (const char *row : rows) {
        for (int x = 0; x < width; ++x)
            glyph.setPixel(x, y, row[x] == 'X' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        ++y;
    }
    return glyph;
}

}

const QImage &indicatorGlyph(IndicatorGlyph glyph)
{
    static const std::array<QImage, 3> glyphs{
        glyphFromRows({"X....", "XX...", "XXX..", "XXXX.", "XXXXX", "XXXX.", "XXX..", "XX...", "X...."}),
        glyphFromRows({"XX.XX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..", "XX.XX"}),
        glyphFromRows({"X..X..X", ".X.X.X.", "..XXX..", "XXXXXXX", "..XXX..", ".X.X.X.", "X..X..X"}),
    };
    return glyphs[std::size_t(glyph)];
}

void drawIndicatorGlyph(QPainter &painter, const QRect &cell, const QImage &glyph, const QColor &cellColor, bool yellow)
{
    const QPoint at(cell.left() + (cell.width() - glyph.width()) / 2 + 1,
                    (2 * cell.top() + cell.height() - glyph.height()) / 2);
    painter.save();
    if (yellow) {
        QImage recoloured = glyph;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                recoloured.setPixel(x, y,
                                    glyph.pixel(x, y) == qRgb(0, 0, 0) ? QColor(Qt::yellow).rgb() : cellColor.rgb());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(at, recoloured);
    } else {
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(at, glyph);
    }
    painter.restore();
}

}
