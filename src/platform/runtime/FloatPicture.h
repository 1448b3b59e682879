#pragma once

#include <QString>

// The framework's number pictures: up to three sections "pos;neg;zero",
// "0" and "#" digit places, the first "." as decimal point, "," anywhere in
// the integer part for thousands grouping, "E+00"/"E-00" exponents, and
// text in quotes or any other character copied as it stands. An empty
// picture gives FloatToStr's text.
QString FormatFloat(const QString &format, double value);
