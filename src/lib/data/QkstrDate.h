#pragma once

#include "platform/runtime/DateTime.h"

#include <QString>

// Typed dates and times checked against the short date format, the date and
// time separators, the short month names and the AM/PM strings of the format
// settings. None of these routines raises.

enum TqkDateOrder { doMDY = 0, doDMY = 1, doYMD = 2 };

// The part of a date or time text the caret is in, as the edit control asks.
enum TqkDatePart { dpDay = 0, dpMonth = 1, dpYear = 2, dpHours = 3, dpMinutes = 4, dpSeconds = 5, dpDesignator = 6 };

TqkDateOrder qkDateFieldOrder(const QString &format);
bool qkScanDate(const QString &text, int &pos, TDateTime &date);
bool qkScanTime(const QString &text, int &pos, TDateTime &time);
bool qkIsValidDateText(const QString &text);
bool qkIsValidTimeText(const QString &text);
bool qkIsValidDateTimeText(const QString &text);
TDateTime qkStrToDate(const QString &text);
TDateTime qkStrToTime(const QString &text);
TDateTime qkStrToDateTime(const QString &text);
bool qkIsIntegerText(const QString &text);
bool qkIsFloatText(const QString &text);
// CaretPos counts the characters before the caret.
TqkDatePart qkCheckDateInput(int caretPos, const QString &text, bool timeOnly);
TqkDatePart qkCheckTimeInput(int caretPos, const QString &text);
