#include "lib/data/QkstrDate.h"

#include "platform/runtime/FormatSettings.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace {

class DateText : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetFormatSettings();
        SetClock([] { return QDateTime(QDate(2026, 6, 15), QTime(10, 0)); });
    }
    void TearDown() override
    {
        ResetFormatSettings();
        SetClock([] { return QDateTime::currentDateTime(); });
    }

    static QDate dateOf(const QString &text)
    {
        int pos = 1;
        TDateTime value = 0;
        if (!qkScanDate(text, pos, value))
            return {};
        return ToQDate(value);
    }

    // An invalid date stands for a text that is no date.
    static void expectDates(std::initializer_list<std::pair<QString, QDate>> cases)
    {
        for (const auto &[text, date] : cases)
            EXPECT_EQ(dateOf(text), date) << text.toStdString();
    }
};

} // namespace

TEST_F(DateText, OrderFollowsTheFirstDateLetter)
{
    EXPECT_EQ(qkDateFieldOrder("dd.mm.yyyy"), doDMY);
    EXPECT_EQ(qkDateFieldOrder("M/d/yy"), doMDY);
    EXPECT_EQ(qkDateFieldOrder("yyyy-MM-dd"), doYMD);
    EXPECT_EQ(qkDateFieldOrder("-"), doMDY);
}

TEST_F(DateText, TwoNumbersTakeTheCurrentYear)
{
    EXPECT_EQ(dateOf("3.4"), QDate(2026, 4, 3));
    FormatSettings().ShortDateFormat = "mm/dd/yyyy";
    FormatSettings().DateSeparator = '/';
    EXPECT_EQ(dateOf("3/4"), QDate(2026, 3, 4));
}

// Two-digit years pivot at fifty; month ends and leap days are checked;
// month names and blanks are read.
TEST_F(DateText, ScannedDates)
{
    expectDates({{"3.4.49", QDate(2049, 4, 3)},
                 {"3.4.50", QDate(2050, 4, 3)},
                 {"3.4.51", QDate(1951, 4, 3)},
                 {"3.4.0", QDate(2000, 4, 3)},
                 {"3.4.1999", QDate(1999, 4, 3)},
                 {"3.4.100", QDate(100, 4, 3)},
                 {"31.4.2000", QDate()},
                 {"30.4.2000", QDate(2000, 4, 30)},
                 {"29.2.1900", QDate()},
                 {"29.2.2000", QDate(2000, 2, 29)},
                 {"29.2.2024", QDate(2024, 2, 29)},
                 {"29.2.2023", QDate()},
                 {"0.1.2000", QDate()},
                 {"1.13.2000", QDate()},
                 {"31.12.9999", QDate(9999, 12, 31)},
                 {" 3. Apr. 2020", QDate(2020, 4, 3)},
                 {"1.MRZ.2020", QDate(2020, 3, 1)},
                 {"3.apr.2020", QDate(2020, 4, 3)},
                 {" 3. 4. 2020", QDate(2020, 4, 3)},
                 {"3", QDate()},
                 {"3.4.", QDate()}});
}

TEST_F(DateText, WholeTextChecksAndConversions)
{
    EXPECT_TRUE(qkIsValidDateText("24.12.2026"));
    EXPECT_FALSE(qkIsValidDateText("24.12.2026x"));
    EXPECT_FALSE(qkIsValidDateText(""));
    EXPECT_EQ(ToQDate(qkStrToDate("24.12.2026")), QDate(2026, 12, 24));
    EXPECT_EQ(qkStrToDate("24.13.2026"), 0);
    EXPECT_EQ(ToQDateTime(qkStrToDateTime("24.12.2026 18:30")), QDateTime(QDate(2026, 12, 24), QTime(18, 30)));
    EXPECT_TRUE(qkIsValidDateTimeText("24.12.2026 18:30:15"));
    EXPECT_FALSE(qkIsValidDateTimeText("24.12.2026"));
    EXPECT_EQ(ToQDateTime(qkStrToDateTime("29.12.1899 06:00")), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
}

TEST_F(DateText, TimesWithAndWithoutDesignator)
{
    EXPECT_EQ(ToQTime(qkStrToTime("12:30 PM")), QTime(12, 30));
    EXPECT_EQ(ToQTime(qkStrToTime("12:30 am")), QTime(0, 30));
    EXPECT_EQ(ToQTime(qkStrToTime("1:05:09 PM")), QTime(13, 5, 9));
    EXPECT_FALSE(qkIsValidTimeText("13:00 PM"));
    EXPECT_FALSE(qkIsValidTimeText("0:30 AM"));
    EXPECT_TRUE(qkIsValidTimeText("23:59:59"));
    EXPECT_FALSE(qkIsValidTimeText("24:00"));
    EXPECT_FALSE(qkIsValidTimeText("10:60"));
    EXPECT_FALSE(qkIsValidTimeText("10"));
    FormatSettings().TimePMString = "nachm.";
    EXPECT_EQ(ToQTime(qkStrToTime("2:15 nachm.")), QTime(14, 15));
}

TEST_F(DateText, NumberTexts)
{
    for (const char *text : {"", "-5", "007", "123456"})
        EXPECT_TRUE(qkIsIntegerText(text)) << text;
    for (const char *text : {"-", "1.5", "1e3", "+5", " 5", "5-"})
        EXPECT_FALSE(qkIsIntegerText(text)) << text;
    EXPECT_TRUE(qkIsFloatText(""));
    EXPECT_TRUE(qkIsFloatText("1,5"));
    EXPECT_FALSE(qkIsFloatText("1,5x"));
}

TEST_F(DateText, CaretPartsFollowTheDateOrder)
{
    EXPECT_EQ(qkCheckDateInput(1, "24.12.2026", false), dpDay);
    EXPECT_EQ(qkCheckDateInput(4, "24.12.2026", false), dpMonth);
    EXPECT_EQ(qkCheckDateInput(8, "24.12.2026", false), dpYear);
    EXPECT_EQ(qkCheckDateInput(10, "24.12.2026", false), dpYear);
    EXPECT_EQ(qkCheckDateInput(4, "24.1", false), dpMonth);
    EXPECT_EQ(qkCheckDateInput(13, "24.12.2026 10:20", false), dpHours);
    EXPECT_EQ(qkCheckDateInput(15, "24.12.2026 10:20", false), dpMinutes);
    EXPECT_EQ(qkCheckDateInput(1, "10:20", true), dpHours);
    FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    FormatSettings().DateSeparator = '-';
    EXPECT_EQ(qkCheckDateInput(2, "2026-12-24", false), dpYear);
    EXPECT_EQ(qkCheckDateInput(9, "2026-12-24", false), dpDay);
}

TEST_F(DateText, CaretPartsOfATime)
{
    EXPECT_EQ(qkCheckTimeInput(0, "10:20:30 P"), dpHours);
    EXPECT_EQ(qkCheckTimeInput(4, "10:20:30 P"), dpMinutes);
    EXPECT_EQ(qkCheckTimeInput(8, "10:20:30 P"), dpSeconds);
    EXPECT_EQ(qkCheckTimeInput(10, "10:20:30 P"), dpDesignator);
}
