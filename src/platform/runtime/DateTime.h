#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <functional>

// Days since 1899-12-30; the time of day is the fraction. Before that day
// the value is negative and the fraction still counts forward from
// midnight: -1.25 is 1899-12-29 06:00, so the fraction is read as absolute.
using TDateTime = double;

TDateTime EncodeDate(int y, int m, int d);
bool TryEncodeDate(int y, int m, int d, TDateTime &out);
TDateTime EncodeTime(int h, int n, int s, int ms);
bool TryEncodeTime(int h, int n, int s, int ms, TDateTime &out);
void DecodeDate(TDateTime value, int &y, int &m, int &d);
void DecodeTime(TDateTime value, int &h, int &n, int &s, int &ms);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);
bool IsLeapYear(int year);
int DaysInMonth(int y, int m);

// Joins a day number and a time of day following the sign rule above.
TDateTime CombineDateTime(TDateTime date, TDateTime time);

// Now, Date and Time read this clock, so tests and the UI services can fix it.
void SetClock(std::function<QDateTime()> clock);
TDateTime Date();
TDateTime Time();
TDateTime Now();

QDate ToQDate(TDateTime value);
QTime ToQTime(TDateTime value);
QDateTime ToQDateTime(TDateTime value);
TDateTime FromQDate(const QDate &date);
TDateTime FromQTime(const QTime &time);
TDateTime FromQDateTime(const QDateTime &dateTime);
