#pragma once

#include "platform/runtime/DateConversions.h"
#include "platform/runtime/FloatPicture.h"
#include "platform/runtime/FormatString.h"

#include <QString>

// The framework's number conversions. They read FormatSettings(), never
// the machine's locale, and raise EConvertError with the framework's
// German message on bad input.
int StrToInt(const QString &text);
int StrToIntDef(const QString &text, int defaultValue);
qint64 StrToInt64(const QString &text);
bool TryStrToInt(const QString &text, int &value);
bool TryStrToInt64(const QString &text, qint64 &value);

double StrToFloat(const QString &text);
bool TryStrToFloat(const QString &text, double &value);
double StrToFloatDef(const QString &text, double defaultValue);

QString IntToStr(qint64 value);
// Shortest text with up to 15 significant digits; scientific ("1E20",
// "1,5E-7") outside 0.0001 .. 10^15.
QString FloatToStr(double value);
// The same with another number of significant digits.
QString FloatToStrPrecision(double value, int precision);

namespace runtime {
// Whether the number lies within the range of a 64-bit integer, so that a
// conversion to one is defined.
bool fitsInt64(double value);
}

// Decimal rounding, half away from zero, on the value's decimal text.
double RoundTo(double value, int decimals);
