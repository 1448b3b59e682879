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

    void expectEvals(std::initializer_list<std::pair<QString, Variant>> cases) const
    {
        for (const auto &[expression, expected] : cases)
            EXPECT_EQ(Eval(expression), expected) << expression.toStdString();
    }

    TFormatlist m_vocabulary;
    TTemplateContext m_context{m_vocabulary};
};

TEST_F(Expression, AtomsAreTextsBooleansQuotesAndNames)
{
    expectEvals({{"", Variant(false)},
                 {"  \t ", Variant(false)},
                 {" 12 ", Variant("12")},
                 {"TRUE", Variant(true)},
                 {"False", Variant(false)},
                 {"\" mit Blanks \"", Variant(" mit Blanks ")},
                 {"\"\"", Variant("")}});
    EXPECT_EQ(Eval("\"offen"), Variant(false));
    expectEvals({{"#Zahl", Variant(5)},
                 {"#Lang_Name", Variant("qualifiziert")},
                 {"#PRGVARKurz", Variant("qualifiziert")},
                 {"#Unbekannt", Variant(false)}});
}

TEST_F(Expression, AdditionJoinsTextsAndAddsNumbers)
{
    expectEvals({{"1+2", Variant("12")},
                 {"#Zahl+1", Variant(6.0)},
                 {"#Zahl+#Zahl", Variant(10)},
                 {"#Zahl-1,5", Variant(3.5)},
                 {"#Zahl+\"\"", Variant(5)},
                 {"\"\"+\"x\"", Variant("x")},
                 {"#Geld+#Zahl", Variant::Currency(15.0)},
                 {"#Tag+2", Variant::Date(EncodeDate(2024, 3, 1))},
                 {"#Leer+1", Variant::Null()},
                 {"10-2-3", Variant(5.0)},
                 {"-5", Variant(false)},
                 {"5+", Variant(false)}});
}

TEST_F(Expression, MultiplicationBindsTighterAndDivisionGivesFloatingPoint)
{
    expectEvals({{"2*3", Variant(6.0)},
                 {"#Zahl*#Zahl", Variant(25)},
                 {"#Zahl/#Zahl", Variant(1.0)},
                 {"#Betrag*2+1", Variant(6.0)},
                 {"1+#Betrag*2", Variant(6.0)},
                 {"12/2/3", Variant(2.0)}});
}

TEST_F(Expression, ComparisonsBindWeakestAndCompareTextsWithATrailingBlank)
{
    expectEvals({{"3 = 3", Variant(true)},
                 {"10 > 9", Variant(false)},
                 {"#Zahl > 10", Variant(true)},
                 {"#Zahl > #Betrag", Variant(true)},
                 {"#Zahl+1 = #Zahl+1", Variant(true)},
                 {"#Zahl = \"5\"", Variant(true)},
                 {"\"ab\" < \"abc\"", Variant(true)},
                 {"#Leer = \"\"", Variant(true)},
                 {"a <> b", Variant(true)},
                 {"a <= a", Variant(true)},
                 {"b >= a", Variant(true)},
                 {"a == a", Variant(false)},
                 {"= a", Variant(false)},
                 {"a =", Variant(false)}});
}

TEST_F(Expression, RefusedOperationsNameTheirOperator)
{
    EXPECT_EQ(ErrorOf("\"abc\"-1"), "Operation - lässt sich nicht mit dem Typ durchführen.");
    EXPECT_EQ(ErrorOf("#Zahl+abc"), "Operation + lässt sich nicht mit dem Typ durchführen.");
    EXPECT_EQ(ErrorOf("x*2"), "Operation * lässt sich nicht mit dem Typ durchführen.");
    EXPECT_EQ(ErrorOf("#Zahl/0"), "Operation / lässt sich nicht mit dem Typ durchführen.");
}

} // namespace
