#pragma once

#include <optional>

#include <QObject>
#include <QString>

enum TqkMeasurementUnits { muInches, muCentimeters };

// Print margins in the control's measurement unit.
class TqkPrintMargins : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double Top MEMBER Top)
    Q_PROPERTY(double Bottom MEMBER Bottom)
    Q_PROPERTY(double Left MEMBER Left)
    Q_PROPERTY(double Right MEMBER Right)

public:
    using QObject::QObject;
    void Assign(const TqkPrintMargins &source);

    double Top = 1.0;
    double Bottom = 1.0;
    double Left = 1.0;
    double Right = 1.0;
};

// Measures of the rich text control. A centimetre is taken as 1 / 2.537
// inch, in both directions, as the stored margins of the suite were made
// with that factor.
namespace richMeasure {

constexpr int twipsPerInch = 1440;
constexpr double centimetresPerInch = 2.537;

double twipsToUnits(int twips, TqkMeasurementUnits units);
QString unitsToText(double value, TqkMeasurementUnits units);
// The value moved two thirds of a step away from zero and cut to a whole
// step; steps 0 means 20 per centimetre or 8 per inch.
QString stepText(double value, int steps, TqkMeasurementUnits units);
int textToTwips(const QString &text, TqkMeasurementUnits units);
// A length in the unit as twips, truncated as a typed length is.
int unitsToTwips(double value, TqkMeasurementUnits units);
// The twips of a text that is a number (trailing unit marks allowed) and
// lies within -limit .. limit; nothing otherwise.
std::optional<int> checkedTextToTwips(const QString &text, TqkMeasurementUnits units, int limit);
// A margin in twips, through its text form as the old control computed it.
int marginTwips(double value, TqkMeasurementUnits units);

int screenPixelsToTwips(int pixels, int pixelsPerInch);
int twipsToScreenPixels(int twips, int pixelsPerInch);

} // namespace richMeasure
