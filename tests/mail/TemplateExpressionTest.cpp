#include "MailTestSupport.h"
#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/runtime/DateTime.h"

#include <gtest/gtest.h>

using mail::Variant;

namespace {

class Expression : public testing::Test
{
protected:
    Expression()
    {
        m_vocabulary.RegisterTemplateCommands();
        Add("Zahl", 5);
        Add("Betrag", 2.5);
        Add("Geld", Variant::Currency(10.0));
        Add("Tag", Variant::Date(EncodeDate(2024, 2, 28)));
        Add("Leer", Variant::Null());
        m_vocabulary.AddItem()->SetVariable("PRGVARKurz", "Lang_Name", "qualifiziert", "");
    }

    void Add(const QString &name, const Variant &value)
    {
        m_vocabulary.AddItem()->SetVariable(name, name, value, name);
    }

    Variant Eval(const QString &expression) const
    {
        Variant result;
        m_context.EvaluateExpression(Variant(expression), result);
        return result;
    }

    QString ErrorOf(const QString &expression) const
    {
        return FormularErrorOf([&] { Eval(expression); });
    }

    TFormatlist m_vocabulary;
    TTemplateContext m_context{m_vocabulary};
};

TEST_F(Expression, AtomsAreTextsBooleansQuotesAndNames)
{
    EXPECT_EQ(Eval(""), Variant(false));
    EXPECT_EQ(Eval("  \t "), Variant(false));
    EXPECT_EQ(Eval(" 12 "), Variant("12"));
    EXPECT_EQ(Eval("TRUE"), Variant(true));
    EXPECT_EQ(Eval("False"), Variant(false));
    EXPECT_EQ(Eval("\" mit Blanks \""), Variant(" mit Blanks "));
    EXPECT_EQ(Eval("\"\""), Variant(""));
    EXPECT_EQ(Eval("\"offen"), Variant(false));
    EXPECT_EQ(Eval("#Zahl"), Variant(5));
    EXPECT_EQ(Eval("#Lang_Name"), Variant("qualifiziert"));
    EXPECT_EQ(Eval("#PRGVARKurz"), Variant("qualifiziert"));
    EXPECT_EQ(Eval("#Unbekannt"), Variant(false));
}

TEST_F(Expression, AdditionJoinsTextsAndAddsNumbers)
{
    EXPECT_EQ(Eval("1+2"), Variant("12"));
    EXPECT_EQ(Eval("#Zahl+1"), Variant(6.0));
    EXPECT_EQ(Eval("#Zahl+#Zahl"), Variant(10));
    EXPECT_EQ(Eval("#Zahl-1,5"), Variant(3.5));
    EXPECT_EQ(Eval("#Zahl+\"\""), Variant(5));
    EXPECT_EQ(Eval("\"\"+\"x\""), Variant("x"));
    EXPECT_EQ(Eval("#Geld+#Zahl"), Variant::Currency(15.0));
    EXPECT_EQ(Eval("#Tag+2"), Variant::Date(EncodeDate(2024, 3, 1)));
    EXPECT_EQ(Eval("#Leer+1"), Variant::Null());
    EXPECT_EQ(Eval("10-2-3"), Variant(5.0));
    EXPECT_EQ(Eval("-5"), Variant(false));
    EXPECT_EQ(Eval("5+"), Variant(false));
}

TEST_F(Expression, MultiplicationBindsTighterAndDivisionGivesFloatingPoint)
{
    EXPECT_EQ(Eval("2*3"), Variant(6.0));
    EXPECT_EQ(Eval("#Zahl*#Zahl"), Variant(25));
    EXPECT_EQ(Eval("#Zahl/#Zahl"), Variant(1.0));
    EXPECT_EQ(Eval("#Betrag*2+1"), Variant(6.0));
    EXPECT_EQ(Eval("1+#Betrag*2"), Variant(6.0));
    EXPECT_EQ(Eval("12/2/3"), Variant(2.0));
}

TEST_F(Expression, ComparisonsBindWeakestAndCompareTextsWithATrailingBlank)
{
    EXPECT_EQ(Eval("3 = 3"), Variant(true));
    EXPECT_EQ(Eval("10 > 9"), Variant(false));
    EXPECT_EQ(Eval("#Zahl > 10"), Variant(true));
    EXPECT_EQ(Eval("#Zahl > #Betrag"), Variant(true));
    EXPECT_EQ(Eval("#Zahl+1 = #Zahl+1"), Variant(true));
    EXPECT_EQ(Eval("#Zahl = \"5\""), Variant(true));
    EXPECT_EQ(Eval("\"ab\" < \"abc\""), Variant(true));
    EXPECT_EQ(Eval("#Leer = \"\""), Variant(true));
    EXPECT_EQ(Eval("a <> b"), Variant(true));
    EXPECT_EQ(Eval("a <= a"), Variant(true));
    EXPECT_EQ(Eval("b >= a"), Variant(true));
    EXPECT_EQ(Eval("a == a"), Variant(false));
    EXPECT_EQ(Eval("= a"), Variant(false));
    EXPECT_EQ(Eval("a ="), Variant(false));
}

TEST_F(Expression, RefusedOperationsNameTheirOperator)
{
    EXPECT_EQ(ErrorOf("\"abc\"-1"), "Operation - lässt sich nicht mit dem Typ durchführen.");
    EXPECT_EQ(ErrorOf("#Zahl+abc"), "Operation + lässt sich nicht mit dem Typ durchführen.");
    EXPECT_EQ(ErrorOf("x*2"), "Operation * lässt sich nicht mit dem Typ durchführen.");
    EXPECT_EQ(ErrorOf("#Zahl/0"), "Operation / lässt sich nicht mit dem Typ durchführen.");
}

} // namespace
