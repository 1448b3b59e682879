#pragma once

#include "platform/runtime/DateTime.h"

#include <QString>

// Date and time texts after FormatSettings(). Reading takes the order of
// day, month and year from ShortDateFormat; a missing year is this year,
// and a year of one or two digits falls into the hundred years that end
// TwoDigitYearCenturyWindow years after today.
TDateTime StrToDate(const QString &text);
bool TryStrToDate(const QString &text, TDateTime &value);
TDateTime StrToTime(const QString &text);
bool TryStrToTime(const QString &text, TDateTime &value);
TDateTime StrToDateTime(const QString &text);
bool TryStrToDateTime(const QString &text, TDateTime &value);

QString DateToStr(TDateTime value);
QString TimeToStr(TDateTime value);
// Date and long time; the time is left out at midnight.
QString DateTimeToStr(TDateTime value);

// The framework's picture language: c d dd ddd dddd ddddd dddddd m mm mmm
// mmmm yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm / : and quoted
// text; "m" right after an hour means minutes. Letters are case-free.
QString FormatDateTime(const QString &format, TDateTime value);
