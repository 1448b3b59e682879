#pragma once

#include <QString>

namespace report {

// Formats `value` with a number picture such as "--,---,--&.##": "-" a digit
// shown blank as a leading zero, where the minus sign floats; "&" a digit
// always shown; "," a thousands point shown between printed digits; "." the
// decimal comma; "#" a decimal digit. Other characters are copied. Digits
// that do not fit the picture are still printed, in front.
QString formatPicture(double value, const QString &picture);

// Decimal rounding, half away from zero.
double roundDecimal(double value, int decimals);

}
