#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"

#include <gtest/gtest.h>

TEST(DateTime, EncodesDaysFromTheEpochAndRejectsInvalidDates)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1800, 1, 1), -36522.0);
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2001, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    TDateTime out = 7;
    EXPECT_FALSE(TryEncodeDate(2023, 4, 31, out));
    EXPECT_EQ(out, 7);
}

TEST(DateTime, EncodesAndDecodesTimesToTheMillisecond)
{
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(10, 60, 0, 0), EConvertError);
    int h, n, s, ms;
    DecodeTime(EncodeDate(2024, 5, 6) + EncodeTime(23, 59, 58, 999), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235958999);
}

TEST(DateTime, AlmostMidnightRoundsIntoTheNextDay)
{
    int y, m, d, h, n, s, ms;
    const TDateTime value = 1.0 - 1e-10;
    DecodeDate(value, y, m, d);
    DecodeTime(value, h, n, s, ms);
    EXPECT_EQ(QDate(y, m, d), QDate(1899, 12, 31));
    EXPECT_EQ(h + n + s + ms, 0);
}

TEST(DateTime, NegativeValuesTakeTheFractionAsAbsolute)
{
    // 1899-12-29 06:00 is -1.25, not -0.75.
    EXPECT_EQ(ToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(FromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_DOUBLE_EQ(FromQDateTime(QDateTime(QDate(1850, 3, 1), QTime(18, 0))), EncodeDate(1850, 3, 1) - 0.75);
    int y, m, d;
    DecodeDate(EncodeDate(1850, 3, 1) - 0.75, y, m, d);
    EXPECT_EQ(QDate(y, m, d), QDate(1850, 3, 1));
    EXPECT_EQ(CombineDateTime(-2, 0.5), -2.5);
    EXPECT_EQ(CombineDateTime(2, 0.5), 2.5);
}

TEST(DateTime, WeekdaysLeapYearsAndMonthLengths)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7); // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 2)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(1850, 1, 7)), 2);   // Monday
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
}

TEST(DateTime, ClockCanBeFixedAndQtRoundTrips)
{
    SetClock([] { return QDateTime(QDate(2026, 3, 15), QTime(14, 30, 15, 250)); });
    EXPECT_EQ(Date(), EncodeDate(2026, 3, 15));
    EXPECT_DOUBLE_EQ(Time(), EncodeTime(14, 30, 15, 250));
    EXPECT_DOUBLE_EQ(Now(), EncodeDate(2026, 3, 15) + EncodeTime(14, 30, 15, 250));
    EXPECT_EQ(ToQDate(Now()), QDate(2026, 3, 15));
    EXPECT_EQ(ToQTime(Now()), QTime(14, 30, 15, 250));
    SetClock([] { return QDateTime::currentDateTime(); });
    EXPECT_EQ(ToQDate(Date()), QDate::currentDate());
    EXPECT_EQ(FromQDate(QDate(1900, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(FromQTime(QTime(18, 0)), 0.75);
}
