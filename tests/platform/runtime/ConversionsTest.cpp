#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

TEST(Conversions, IntegersFollowTheFrameworkSyntax)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("  -17"), -17);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt64("9000000000"), 9000000000LL);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt("12 "), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("1.000"), EConvertError);
    EXPECT_EQ(StrToIntDef("abc", -1), -1);
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'abc' ist kein gültiger Integerwert"));
    }
}

TEST(Conversions, FloatsReadTheDecimalCommaOnly)
{
    EXPECT_DOUBLE_EQ(StrToFloat("0,1"), 0.1);
    EXPECT_DOUBLE_EQ(StrToFloat(" -12,5 "), -12.5);
    EXPECT_DOUBLE_EQ(StrToFloat("1E20"), 1e20);
    EXPECT_DOUBLE_EQ(StrToFloat("1,5e-3"), 0.0015);
    EXPECT_DOUBLE_EQ(StrToFloat(",5"), 0.5);
    EXPECT_THROW(StrToFloat("1.5"), EConvertError);
    EXPECT_THROW(StrToFloat("1.000,5"), EConvertError);
    EXPECT_THROW(StrToFloat(","), EConvertError);
    EXPECT_THROW(StrToFloat("1E"), EConvertError);
    EXPECT_THROW(StrToFloat("1E999"), EConvertError);
    EXPECT_EQ(StrToFloatDef("x", 2.5), 2.5);
    FormatSettings().DecimalSeparator = '.';
    EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
    ResetFormatSettings();
}

TEST(Conversions, FloatToStrGivesTheShortestFifteenDigitText)
{
    EXPECT_EQ(FloatToStr(0.1), "0,1");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");
    EXPECT_EQ(FloatToStr(-1234.5), "-1234,5");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(1.5e-7), "1,5E-7");
    EXPECT_EQ(FloatToStr(0.0001), "0,0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(IntToStr(-9000000000LL), "-9000000000");
}

// Amounts with few decimals take a short road; every value must still print
// as fifteen significant digits do.
TEST(Conversions, FloatToStrOfManyValuesMatchesFifteenSignificantDigits)
{
    std::mt19937_64 random(11);
    std::uniform_int_distribution<qint64> integers(-99999999999999LL, 99999999999999LL);
    std::uniform_int_distribution<int> decimals(0, 8);
    std::uniform_real_distribution<double> reals(-1e6, 1e6);
    for (int i = 0; i < 200000; ++i) {
        const double value = i % 2 ? double(integers(random)) / std::pow(10.0, decimals(random)) : reals(random);
        QString expected = QString::number(value, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
        if (expected.contains(QLatin1Char('e')))
            continue;
        ASSERT_EQ(FloatToStr(value), expected) << value;
    }
}

TEST(Conversions, RoundToIsDecimalHalfAwayFromZero)
{
    EXPECT_DOUBLE_EQ(RoundTo(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(RoundTo(0.125, 2), 0.13);
    EXPECT_DOUBLE_EQ(RoundTo(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(RoundTo(-2.5, 0), -3);
    EXPECT_DOUBLE_EQ(RoundTo(-0.125, 2), -0.13);
    EXPECT_DOUBLE_EQ(RoundTo(9.995, 2), 10.0);
    EXPECT_DOUBLE_EQ(RoundTo(0.004, 2), 0.0);
    EXPECT_DOUBLE_EQ(RoundTo(1250, -2), 1300);
}

TEST(Conversions, FormatFloatPictures)
{
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1.234.567,89");
    EXPECT_EQ(FormatFloat("#,##0.00", 0.5), "0,50");
    EXPECT_EQ(FormatFloat("#,##0.00", -1234.5), "-1.234,50");
    EXPECT_EQ(FormatFloat("0.00", 2.675), "2,68");
    EXPECT_EQ(FormatFloat("0.##", 1.5), "1,5");
    EXPECT_EQ(FormatFloat("0.##", 1), "1");
    EXPECT_EQ(FormatFloat("#.##", 0.5), ",5");
    EXPECT_EQ(FormatFloat("000", 7), "007");
    EXPECT_EQ(FormatFloat("#", 0), "");
    EXPECT_EQ(FormatFloat("0", 123456), "123456");
    EXPECT_EQ(FormatFloat("#,##0", 999.6), "1.000");
    EXPECT_EQ(FormatFloat("0.00 \"EUR\"", 3), "3,00 EUR");
    EXPECT_EQ(FormatFloat("'Nr. '0", 12), "Nr. 12");
    EXPECT_EQ(FormatFloat("0.00;(0.00);'null'", -4.5), "(4,50)");
    EXPECT_EQ(FormatFloat("0.00;(0.00);'null'", 0), "null");
    EXPECT_EQ(FormatFloat("0.00;;'null'", -0.001), "null");
    EXPECT_EQ(FormatFloat("0.00", -0.001), "0,00");
    EXPECT_EQ(FormatFloat("0.00;-0.00 'S'", -0.001), "0,00");
    EXPECT_EQ(FormatFloat("0.00;-0.00 'S'", -1), "-1,00 S");
    EXPECT_EQ(FormatFloat("0.00E+00", 1234.5), "1,23E+03");
    EXPECT_EQ(FormatFloat("0.0E-0", 0.00025), "2,5E-4");
    EXPECT_EQ(FormatFloat("", 0.1), "0,1");
}

TEST(Conversions, FormatWidthsPrecisionsAndAlignment)
{
    EXPECT_EQ(Format("%8.2f", {3.14159}), "    3,14");
    EXPECT_EQ(Format("%8.2f", {2.675}), "    2,68");
    EXPECT_EQ(Format("%-10s|", {QStringLiteral("Abc")}), "Abc       |");
    EXPECT_EQ(Format("%10s|", {QStringLiteral("Abc")}), "       Abc|");
    EXPECT_EQ(Format("%.2s", {QStringLiteral("Abc")}), "Ab");
    EXPECT_EQ(Format("%5d|%.4d|%x", {42, 7, 255}), "   42|0007|FF");
    EXPECT_EQ(Format("%x|%d", {-1, -5}), "FFFFFFFF|-5");
    EXPECT_EQ(Format("%u|%3u", {-1, 7}), "4294967295|  7");
    EXPECT_EQ(Format("%20.2n", {1234567.5}).trimmed(), "1.234.567,50");
    EXPECT_EQ(Format("%.0n", {-1234.5}), "-1.235");
    EXPECT_EQ(Format("%5.2m", {1234.5}), QStringLiteral("1.234,50 €"));
    EXPECT_EQ(Format("%m", {-3.0}), QStringLiteral("-3,00 €"));
    EXPECT_EQ(Format("%40.2f", {0.125}).trimmed(), "0,13");
    EXPECT_EQ(Format("%.2f", {-0.001}), "0,00");
    EXPECT_EQ(Format("%f", {1e20}), "100000000000000000000,00");
    EXPECT_EQ(Format("%e", {1234.5}), "1,23450000000000E+003");
    EXPECT_EQ(Format("%g", {0.5}), "0,5");
    EXPECT_EQ(Format("%*.*f", {6, 1, 2.25}), "   2,3");
    EXPECT_EQ(Format("%1:s %0:s %s", {QStringLiteral("a"), QStringLiteral("b")}), "b a b");
    EXPECT_EQ(Format("100%%", {}), "100%");
}

TEST(Conversions, FormatRejectsMismatchedArguments)
{
    EXPECT_THROW(Format("%d", {1.5}), EConvertError);
    EXPECT_THROW(Format("%f", {QStringLiteral("1")}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%q", {1}), EConvertError);
    EXPECT_THROW(Format("%", {}), EConvertError);
}
