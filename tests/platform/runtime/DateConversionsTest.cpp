#include "platform/runtime/DateConversions.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

class DateConversions : public testing::Test
{
protected:
    void SetUp() override
    {
        SetClock([] { return QDateTime(QDate(2026, 6, 15), QTime(10, 0)); });
    }
    void TearDown() override
    {
        ResetFormatSettings();
        SetClock([] { return QDateTime::currentDateTime(); });
    }
};

} // namespace

TEST_F(DateConversions, ReadsGermanDatesWithTheCenturyWindow)
{
    EXPECT_EQ(StrToDate("24.12.2025"), EncodeDate(2025, 12, 24));
    EXPECT_EQ(StrToDate(" 1.2.2020 "), EncodeDate(2020, 2, 1));
    EXPECT_EQ(StrToDate("3.4"), EncodeDate(2026, 4, 3));
    // Window 50 from 2026: two-digit years fall into 1976..2075.
    EXPECT_EQ(StrToDate("1.1.76"), EncodeDate(1976, 1, 1));
    EXPECT_EQ(StrToDate("1.1.75"), EncodeDate(2075, 1, 1));
    EXPECT_EQ(StrToDate("1.1.05"), EncodeDate(2005, 1, 1));
    EXPECT_EQ(StrToDate("1.1.0075"), EncodeDate(75, 1, 1));
    EXPECT_EQ(StrToDate("28.02.1850"), EncodeDate(1850, 2, 28));
    FormatSettings().TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(StrToDate("1.1.99"), EncodeDate(2099, 1, 1));
}

TEST_F(DateConversions, RejectsWhatIsNoDate)
{
    for (const char *text : {"31.2.2024", "1.13.2024", "", "1-2-2024", "1.2.2024x", "heute", "1.2."}) {
        TDateTime out = 0;
        EXPECT_FALSE(TryStrToDate(text, out)) << text;
    }
    try {
        StrToDate("31.2.2024");
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'31.2.2024' ist kein gültiges Datum"));
    }
}

TEST_F(DateConversions, FollowsTheConfiguredDateOrder)
{
    FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    FormatSettings().DateSeparator = '-';
    EXPECT_EQ(StrToDate("2024-03-09"), EncodeDate(2024, 3, 9));
    EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 9)), "2024-03-09");
    FormatSettings().ShortDateFormat = "m/d/yyyy";
    FormatSettings().DateSeparator = '/';
    EXPECT_EQ(StrToDate("3/9/2024"), EncodeDate(2024, 3, 9));
}

TEST_F(DateConversions, ReadsTimesAndDateTimes)
{
    EXPECT_DOUBLE_EQ(StrToTime("14:30"), EncodeTime(14, 30, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("14:30:15"), EncodeTime(14, 30, 15, 0));
    EXPECT_DOUBLE_EQ(StrToTime("7"), EncodeTime(7, 0, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("2:05 PM"), EncodeTime(14, 5, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12:00 am"), 0.0);
    EXPECT_THROW(StrToTime("25:00"), EConvertError);
    EXPECT_THROW(StrToTime("13:00 PM"), EConvertError);
    EXPECT_THROW(StrToTime("10:"), EConvertError);
    EXPECT_DOUBLE_EQ(StrToDateTime("24.12.2025 18:00"), EncodeDate(2025, 12, 24) + 0.75);
    EXPECT_DOUBLE_EQ(StrToDateTime("24.12.2025"), EncodeDate(2025, 12, 24));
    EXPECT_DOUBLE_EQ(StrToDateTime("06:00"), 0.25);
    EXPECT_DOUBLE_EQ(StrToDateTime("29.12.1899 06:00"), -1.25);
    EXPECT_THROW(StrToDateTime("24.12.2025 Abend"), EConvertError);
}

TEST_F(DateConversions, WritesWithTheDefaultFormats)
{
    const TDateTime value = EncodeDate(2025, 3, 7) + EncodeTime(9, 5, 3, 0);
    EXPECT_EQ(DateToStr(value), "07.03.2025");
    EXPECT_EQ(TimeToStr(value), "09:05:03");
    EXPECT_EQ(DateTimeToStr(value), "07.03.2025 09:05:03");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2025, 3, 7)), "07.03.2025");
    EXPECT_EQ(DateToStr(-1.25), "29.12.1899");
    EXPECT_EQ(TimeToStr(-1.25), "06:00:00");
}

TEST_F(DateConversions, FormatDateTimePictures)
{
    const TDateTime value = EncodeDate(2025, 3, 2) + EncodeTime(15, 4, 5, 7);
    EXPECT_EQ(FormatDateTime("dddd, d. mmmm yyyy", value), QStringLiteral("Sonntag, 2. März 2025"));
    EXPECT_EQ(FormatDateTime("ddd dd.mm.yy", value), "So 02.03.25");
    EXPECT_EQ(FormatDateTime("mmm", value), "Mrz");
    EXPECT_EQ(FormatDateTime("hh:mm", value), "15:04");
    EXPECT_EQ(FormatDateTime("h:n:s.zzz", value), "15:4:5.007");
    EXPECT_EQ(FormatDateTime("HH:NN", value), "15:04");
    EXPECT_EQ(FormatDateTime("h am/pm", value), "3 pm");
    EXPECT_EQ(FormatDateTime("hh a/p", EncodeTime(0, 30, 0, 0)), "12 a");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", value), "2025.03.02");
    EXPECT_EQ(FormatDateTime("'Stand: 'dd.mm. \"um\" t", value), "Stand: 02.03. um 15:04");
    EXPECT_EQ(FormatDateTime("ddddd tt", value), "02.03.2025 15:04:05");
    EXPECT_EQ(FormatDateTime("", value), "02.03.2025 15:04:05");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", EncodeDate(1850, 3, 1)), "01.03.1850");
}
