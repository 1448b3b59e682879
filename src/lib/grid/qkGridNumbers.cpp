#include "lib/grid/qkGridNumbers.h"

#include "platform/db/TField.h"
#include "platform/runtime/FormatSettings.h"

#include <QFontMetrics>
#include <QRegularExpression>

#include <algorithm>

namespace gridnumbers {

namespace {

// Below two thirds of the cell's font a number is no longer read at a glance.
constexpr double smallestScale = 2.0 / 3.0;
constexpr double sizeStep = 0.5;

// Points, or pixels for a font given in pixels.
double sizeOf(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF();
}

QFont withSize(const QFont &font, double size)
{
    QFont sized = font;
    if (font.pixelSize() > 0)
        sized.setPixelSize(std::max(1, int(size)));
    else
        sized.setPointSizeF(size);
    return sized;
}

int widthOf(const QFont &font, const QString &text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

}

bool isNumberField(const TField *field)
{
    const TFieldType type = field->DataType();
    return (type >= ftSmallint && type <= ftWord) || (type >= ftFloat && type <= ftBCD) || type == ftAutoInc;
}

QString withoutGroupingMarks(const QString &text)
{
    const QString point = QRegularExpression::escape(FormatSettings().ThousandSeparator);
    const QString comma = QRegularExpression::escape(FormatSettings().DecimalSeparator);
    const QRegularExpression grouped(
        QStringLiteral("^\\s*[+-]?\\d{1,3}(%1\\d{3})+(%2\\d*)?([eE][+-]?\\d+)?\\s*$").arg(point, comma));
    if (!grouped.match(text).hasMatch())
        return text;
    return QString(text).remove(FormatSettings().ThousandSeparator);
}

CellNumber fitNumber(const QFont &font, const QString &text, int width)
{
    const int wanted = widthOf(font, text);
    if (wanted <= width)
        return {font, text};
    // Glyph widths do not shrink exactly with the size: step down until it fits.
    const double smallest = sizeOf(font) * smallestScale;
    for (double size = sizeOf(font) * width / wanted; size >= smallest; size -= sizeStep) {
        const QFont smaller = withSize(font, size);
        if (widthOf(smaller, text) <= width)
            return {smaller, text};
    }
    return {font, QStringLiteral("###")};
}

}
