#pragma once

#include "platform/runtime/DateTime.h"

#include <QList>
#include <QString>

// The date/time picker's view of the framework's format tokens: each token
// rendered through the framework's own FormatDateTime, with the position of
// every field, so that one engine serves the picker and the fields'
// display texts.
enum class TqkDTTokenKind { Literal, Day, DayName, Month, MonthName, Year, Hour, Minute, Second, AmPm };

struct TqkDTToken
{
    TqkDTTokenKind kind = TqkDTTokenKind::Literal;
    QString token; // as written in the format ("dd", "mmm", "am/pm", ...)
};

bool qkIsDateToken(TqkDTTokenKind kind);
bool qkIsTimeToken(TqkDTTokenKind kind);
bool qkIsNumericToken(const TqkDTToken &token);

// Replaces "c", then "dddddd", "ddddd", "tt" and "t" by the formats of the
// settings they stand for. `dateOnlyC`: "c" stands for the short date alone.
QString qkExpandDateTimeFormat(const QString &format, bool dateOnlyC = false);
QList<TqkDTToken> qkTokenizeDateTimeFormat(const QString &expanded);

// A date and time by its numbers. Typed numbers may lie outside what a value
// can hold (day 32, month 13, hour 25): the text shows them as typed.
struct TqkDTParts
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct TqkDTRendering
{
    QString text;     // up to and including the wanted field (the whole text without one)
    TqkDTToken field; // the wanted field's token
    int start = 0;
    int length = 0;
    int fieldCount = 0; // fields met on the way
    bool found = false;
};

// Renders `value` and locates field `wanted` (1-based; 0 renders all and
// counts). Date tokens count as fields when `dateFields`, time tokens when
// `timeFields`. With `typed` the number fields show its numbers instead of
// the value's, which then only names the day and the month.
TqkDTRendering qkRenderDateTime(const QList<TqkDTToken> &tokens, TDateTime value, int wanted, bool dateFields,
                                bool timeFields, const TqkDTParts *typed = nullptr);
// Year = Epoch's century (or the next, below Epoch's last two digits) + yy.
int qkEpochYear(int twoDigitYear, int epoch);
