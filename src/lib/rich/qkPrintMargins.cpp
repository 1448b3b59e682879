#include "lib/rich/qkPrintMargins.h"

#include <QLocale>

#include <cmath>

void TqkPrintMargins::Assign(const TqkPrintMargins &source)
{
    Top = source.Top;
    Bottom = source.Bottom;
    Left = source.Left;
    Right = source.Right;
}

namespace richMeasure {

namespace {

// Float texts follow the fixed German settings: decimal comma.
QString floatText(double value)
{
    return QLocale(QLocale::German).toString(value, 'g', 15);
}

QString unitMark(TqkMeasurementUnits units)
{
    return units == muCentimeters ? QStringLiteral(" cm") : QStringLiteral("''");
}

} // namespace

double twipsToUnits(int twips, TqkMeasurementUnits units)
{
    double value = double(twips) / twipsPerInch;
    if (units == muCentimeters)
        value *= centimetresPerInch;
    return std::round(value * 100.0) / 100.0;
}

QString unitsToText(double value, TqkMeasurementUnits units)
{
    return floatText(value) + unitMark(units);
}

QString stepText(double value, int steps, TqkMeasurementUnits units)
{
    if (steps == 0)
        steps = units == muCentimeters ? 20 : 8;
    const double step = 1.0 / steps;
    const double moved = value + (value < 0 ? -1.0 : 1.0) * step * 2.0 / 3.0;
    const long long thousandths = static_cast<long long>(moved * 1000.0);
    const long long stepThousandths = 1000 / steps;
    const long long cut = thousandths - thousandths % stepThousandths;
    return floatText(double(cut) / 1000.0) + unitMark(units);
}

namespace {
std::optional<double> unitNumber(const QString &text)
{
    QString number = text;
    while (!number.isEmpty() && QStringLiteral(" 'cmCM").contains(number.back()))
        number.chop(1);
    bool ok = false;
    double value = QLocale(QLocale::German).toDouble(number, &ok);
    if (!ok)
        value = number.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

}

int unitsToTwips(double value, TqkMeasurementUnits units)
{
    value *= twipsPerInch;
    if (units == muCentimeters)
        value *= 1.0 / centimetresPerInch;
    return static_cast<int>(value + (value >= 0 ? 1e-9 : -1e-9));
}

int textToTwips(const QString &text, TqkMeasurementUnits units)
{
    const std::optional<double> value = unitNumber(text);
    return value ? unitsToTwips(*value, units) : 0;
}

std::optional<int> checkedTextToTwips(const QString &text, TqkMeasurementUnits units, int limit)
{
    const std::optional<double> value = unitNumber(text);
    if (!value || std::abs(*value) > 1e6)
        return std::nullopt;
    const int twips = unitsToTwips(*value, units);
    if (twips < -limit || twips > limit)
        return std::nullopt;
    return twips;
}

int marginTwips(double value, TqkMeasurementUnits units)
{
    return textToTwips(unitsToText(value, units), units);
}

int screenPixelsToTwips(int pixels, int pixelsPerInch)
{
    return pixels * twipsPerInch / pixelsPerInch;
}

int twipsToScreenPixels(int twips, int pixelsPerInch)
{
    return twips * pixelsPerInch / twipsPerInch;
}

} // namespace richMeasure
