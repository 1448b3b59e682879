#include "platform/runtime/DateTime.h"

#include "platform/runtime/Exceptions.h"

#include <cmath>

namespace {

constexpr qint64 MSecsPerDay = 86400000;

QDate epoch()
{
    return QDate(1899, 12, 30);
}

std::function<QDateTime()> &currentClock()
{
    static std::function<QDateTime()> current = [] { return QDateTime::currentDateTime(); };
    return current;
}

// Rounds to whole milliseconds first, so that 0.99999999999 is the next
// midnight rather than 23:59:59.1000.
struct DayAndTime
{
    qint64 day;
    qint64 msecs;
};

DayAndTime split(TDateTime value)
{
    const qint64 total = std::llround(value * MSecsPerDay);
    return {total / MSecsPerDay, std::abs(total) % MSecsPerDay};
}

} // namespace

bool TryEncodeDate(int y, int m, int d, TDateTime &out)
{
    if (y < 1 || y > 9999)
        return false;
    const QDate date(y, m, d);
    if (!date.isValid())
        return false;
    out = static_cast<double>(epoch().daysTo(date));
    return true;
}

TDateTime EncodeDate(int y, int m, int d)
{
    TDateTime result = 0;
    if (!TryEncodeDate(y, m, d, result))
        throw EConvertError(QStringLiteral("Ungültiges Argument für Datumskodierung"));
    return result;
}

bool TryEncodeTime(int h, int n, int s, int ms, TDateTime &out)
{
    if (h < 0 || h > 23 || n < 0 || n > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
        return false;
    const qint64 total = ((h * 60LL + n) * 60 + s) * 1000 + ms;
    out = static_cast<double>(total) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int h, int n, int s, int ms)
{
    TDateTime result = 0;
    if (!TryEncodeTime(h, n, s, ms, result))
        throw EConvertError(QStringLiteral("Ungültiges Argument für Zeitkodierung"));
    return result;
}

void DecodeDate(TDateTime value, int &y, int &m, int &d)
{
    const QDate date = ToQDate(value);
    y = date.year();
    m = date.month();
    d = date.day();
}

void DecodeTime(TDateTime value, int &h, int &n, int &s, int &ms)
{
    const qint64 msecs = split(value).msecs;
    h = static_cast<int>(msecs / 3600000);
    n = static_cast<int>(msecs / 60000 % 60);
    s = static_cast<int>(msecs / 1000 % 60);
    ms = static_cast<int>(msecs % 1000);
}

int DayOfWeek(TDateTime value)
{
    return ToQDate(value).dayOfWeek() % 7 + 1;
}

bool IsLeapYear(int year)
{
    return QDate::isLeapYear(year);
}

int DaysInMonth(int y, int m)
{
    return QDate(y, m, 1).daysInMonth();
}

TDateTime CombineDateTime(TDateTime date, TDateTime time)
{
    return date >= 0 ? date + time : date - time;
}

void SetClock(std::function<QDateTime()> newClock)
{
    currentClock() = std::move(newClock);
}

TDateTime Now()
{
    return FromQDateTime(currentClock()());
}

TDateTime Date()
{
    return FromQDate(currentClock()().date());
}

TDateTime Time()
{
    return FromQTime(currentClock()().time());
}

QDate ToQDate(TDateTime value)
{
    return epoch().addDays(split(value).day);
}

QTime ToQTime(TDateTime value)
{
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(split(value).msecs));
}

QDateTime ToQDateTime(TDateTime value)
{
    return QDateTime(ToQDate(value), ToQTime(value));
}

TDateTime FromQDate(const QDate &date)
{
    return static_cast<double>(epoch().daysTo(date));
}

TDateTime FromQTime(const QTime &time)
{
    return static_cast<double>(time.msecsSinceStartOfDay()) / MSecsPerDay;
}

TDateTime FromQDateTime(const QDateTime &dateTime)
{
    return CombineDateTime(FromQDate(dateTime.date()), FromQTime(dateTime.time()));
}
