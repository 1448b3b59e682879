#include "platform/report/Expression.h"
#include "platform/report/NumberPicture.h"
#include "platform/report/api/ReportCodes.h"
#include "support/RecordingUiServices.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

class ExpressionTest : public ::testing::Test
{
protected:
    Definitions variables;
    Definitions fields;

    QString eval(const QString &source)
    {
        const Expression e(source);
        EXPECT_TRUE(e.isValid()) << source.toStdString() << ": " << e.error().toStdString();
        return e.evaluate(DefinitionScope(&variables, &fields)).toText();
    }

    void expectEvals(std::initializer_list<std::pair<QString, QString>> cases)
    {
        for (const auto &[source, expected] : cases)
            EXPECT_EQ(eval(source), expected) << source.toStdString();
    }
};

}

TEST_F(ExpressionTest, ArithmeticAndTextFollowTheValueTypes)
{
    variables.define("Menge", "3", LL_NUMERIC);
    variables.define("Preis", "1.234,50", LL_NUMERIC);
    variables.define("Kunde", "Müller", LL_TEXT);
    expectEvals({{"Menge * Preis", "3703,5"},
                 {"(1 + 2) * 4 - 10 / 4", "9,5"},
                 {"\"Herr \" + Kunde", "Herr Müller"},
                 {"\"Seite \" + Menge", "Seite 3"},
                 {"-Menge", "-3"},
                 {"'sagt ''Hallo'''", "sagt 'Hallo'"},
                 {"1 / 0", ""}});
}

TEST_F(ExpressionTest, NamesMatchWithoutCaseAndFieldsComeBeforeVariables)
{
    variables.define("Übertrag", "10", LL_NUMERIC);
    fields.define("übertrag", "20", LL_NUMERIC);
    variables.define("Währung", "EUR", LL_TEXT);
    expectEvals({{"ÜBERTRAG", "20"}, {"währung", "EUR"}, {"Unbekannt", ""}, {"Unbekannt + 1", "1"}});
    variables.define("Land-Name", "Deutschland", LL_TEXT);
    EXPECT_EQ(eval("[Land-Name]"), "Deutschland");
    EXPECT_FALSE(Expression("[Land-Name").isValid());
}

TEST_F(ExpressionTest, EmptyNumbersPrintEmpty)
{
    variables.define("Rabatt", "", LL_NUMERIC);
    expectEvals({{"Rabatt", ""}, {"FStr(Rabatt, \"--&.##\")", ""}, {"Empty(Rabatt)", "Ja"}});
}

TEST_F(ExpressionTest, ComparisonsAndIf)
{
    variables.define("TextPos", "true", LL_BOOLEAN);
    variables.define("Betrag", "99,5", LL_NUMERIC);
    variables.define("Land", "D", LL_TEXT);
    expectEvals({{"If(TextPos, \"Text\", \"Artikel\")", "Text"},
                 {"If(Betrag >= 100, \"hoch\", \"niedrig\")", "niedrig"},
                 {"If(Betrag <> 99.5, 1, 2)", "2"},
                 {"If(Land = \"D\", \"Inland\", \"Ausland\")", "Inland"},
                 {"If(Land < \"E\", \"vor E\")", "vor E"},
                 {"If(Undefiniert = False, \"leer ist falsch\")", "leer ist falsch"},
                 {"If(Undefiniert < 1, \"leer ist 0\")", "leer ist 0"}});
}

TEST_F(ExpressionTest, BooleansAcceptEveryWrittenForm)
{
    for (const char *yes : {"true", "T", "1", "j", "J"}) {
        variables.define("B", yes, LL_BOOLEAN);
        EXPECT_EQ(eval("If(B, \"ja\", \"nein\")"), "ja") << yes;
    }
    for (const char *no : {"false", "F", "0", "N", ""}) {
        variables.define("B", no, LL_BOOLEAN);
        EXPECT_EQ(eval("If(B, \"ja\", \"nein\")"), "nein") << no;
    }
}

TEST_F(ExpressionTest, TextFunctions)
{
    variables.define("Name", "  Meier GmbH  ", LL_TEXT);
    expectEvals({{"Trim(Name)", "Meier GmbH"},
                 {"Upper$(Trim(Name))", "MEIER GMBH"},
                 {"Left$(Trim(Name), 5)", "Meier"},
                 {"Right$(Trim(Name), 4)", "GmbH"},
                 {"Len(Trim(Name))", "10"},
                 {"Left$(\"abc\", -1)", ""},
                 {"Str$(2.5)", "2,5"},
                 {"Str$(2.675, 8, 2)", "    2,68"},
                 {"Empty(\"  \")", "Ja"},
                 {"Empty(Name)", "Nein"}});
}

TEST_F(ExpressionTest, DateFormatting)
{
    variables.define("Datum", "01.03.2001", LL_TEXT);
    expectEvals({{"Date$(Datum, \"dd.mm.yyyy\")", "01.03.2001"},
                 {"Date$(Datum, \"d. mmmm yyyy\")", "1. März 2001"},
                 {"Date$(Datum, \"dddd, d.m.yy\")", "Donnerstag, 1.3.01"},
                 {"Date$(36951, \"dd.mm.yyyy\")", "01.03.2001"},
                 {"Date$(\"kein Datum\", \"dd.mm.yyyy\")", "kein Datum"}});
    ui::ScopedRecordingUiServices services;
    services.setNow(QDateTime(QDate(2026, 12, 7), QTime(23, 59)));
    expectEvals({{"Today()", "07.12.2026"}, {"Date$(Today(), \"d. mmmm yyyy\")", "7. Dezember 2026"}});
}

TEST_F(ExpressionTest, SyntaxErrorsMakeTheExpressionInvalid)
{
    for (const char *bad : {"1 +", "(1 + 2", "\"offen", "FStr(1)", "Gibtsnicht(1)", "1 2", "#", "If(1, 2, 3, 4)"}) {
        const Expression e(bad);
        EXPECT_FALSE(e.isValid()) << bad;
        EXPECT_FALSE(e.error().isEmpty()) << bad;
    }
    EXPECT_TRUE(Expression("").isValid());
}

TEST(NumberPicture, GermanPictures)
{
    const QString picture = "--,---,--&.##";
    EXPECT_EQ(formatPicture(1234.5, picture), "     1.234,50");
    EXPECT_EQ(formatPicture(0, picture), "         0,00");
    EXPECT_EQ(formatPicture(-1234.5, picture), "    -1.234,50");
    EXPECT_EQ(formatPicture(-0.5, picture), "        -0,50");
    EXPECT_EQ(formatPicture(12345678.9, picture), "12.345.678,90");
    EXPECT_EQ(formatPicture(2.675, picture), "         2,68");
    EXPECT_EQ(formatPicture(1234567, "--,---,--&"), " 1.234.567");
    EXPECT_EQ(formatPicture(7, "&&&"), "007");
    EXPECT_EQ(formatPicture(-7, "&&&"), "-007");
}

TEST(NumberPicture, DigitsBeyondThePictureAreNotLost)
{
    EXPECT_EQ(formatPicture(123456, "--&"), "123456");
    EXPECT_EQ(formatPicture(-123456, "--&.#"), "-123456,0");
    EXPECT_EQ(formatPicture(1234554321.33, "--,---,--&.##"), "1.234.554.321,33");
    EXPECT_EQ(formatPicture(-1234567890, "---,--&"), "-1.234.567.890");
    EXPECT_EQ(formatPicture(12345, "&,&&&"), "12.345");
}

TEST(NumberPicture, RoundingIsDecimalHalfAwayFromZero)
{
    EXPECT_DOUBLE_EQ(roundDecimal(0.125, 2), 0.13);
    EXPECT_DOUBLE_EQ(roundDecimal(-2.5, 0), -3);
    EXPECT_DOUBLE_EQ(roundDecimal(1.005, 2), 1.01);
}
