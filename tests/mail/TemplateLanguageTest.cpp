#include "mail/TemplateLanguage.h"
#include "MailTestSupport.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"

#include <gtest/gtest.h>

using mail::Variant;

namespace {

class TemplateLanguage : public testing::Test
{
protected:
    TemplateLanguage() { m_vocabulary.RegisterTemplateCommands(); }

    void Set(const QString &name, const Variant &value)
    {
        const int index = m_vocabulary.IndexOfQualifiedName(name);
        if (index >= 0)
            m_vocabulary.GetItem(index)->Value = value;
        else
            m_vocabulary.AddItem()->SetVariable(name, name, value, name);
    }

    QStringList Run(const QStringList &lines, const QString &suffix = QString())
    {
        QStringList output;
        for (const QString &line : lines)
            m_context.ProcessTemplateLine(line, output, suffix);
        return output;
    }

    QString One(const QString &line)
    {
        const QStringList output = Run({line});
        return output.size() == 1 ? output[0] : QStringLiteral("<%1 Zeilen>").arg(output.size());
    }

    QString ErrorOf(const QStringList &lines)
    {
        return FormularErrorOf([&] { Run(lines); });
    }

    void expectLines(std::initializer_list<std::pair<QString, QString>> cases)
    {
        for (const auto &[line, expected] : cases)
            EXPECT_EQ(One(line), expected) << line.toStdString();
    }

    void expectErrors(std::initializer_list<std::pair<QStringList, QString>> cases)
    {
        for (const auto &[lines, expected] : cases)
            EXPECT_EQ(ErrorOf(lines), expected) << lines.join('|').toStdString();
    }

    TFormatlist m_vocabulary;
    TFormular m_formular;
    TTemplateContext m_context{m_vocabulary, &m_formular};
};

TEST_F(TemplateLanguage, LiteralTextHashesAndSuffix)
{
    EXPECT_EQ(One("Nr. ##1 und # frei"), "Nr. #1 und # frei");
    EXPECT_EQ(One("am Ende #"), "am Ende #");
    EXPECT_EQ(Run({"", "// Kommentar", "Text"}, "|"), QStringList({"|", "Text|"}));
}

TEST_F(TemplateLanguage, PlaceholderWidthsPadAndCut)
{
    Set("Kurz", "abc");
    Set("Lang", "Abcdefghijklmn");
    Set("Rand", "  abc  ");
    expectLines({{"<#Kurz>", "<abc>"},
                 {"<#Kurz:10>", "<abc       >"},
                 {"<#Lang:10>", "<Abcdefghij>"},
                 {"<#Rand>", "<abc>"},
                 {"<#Rand:9>", "<  abc    >"},
                 {"<#Rand:3>", "<abc>"},
                 {"#Kurz|def", "abcdef"},
                 {"#Kurz:5|x #Kurz:0|y", "abc  x y"}});
    // A wrap width of zero keeps its empty slot like width zero; long values without width stand whole.
    Set("T", "ein Text, der nicht umbrochen wird");
    expectLines({{"<#T:m0>", "<>"}, {"<#T:0>", "<>"}});
    const QString text(5000, 'x');
    Set("Lang", text);
    EXPECT_EQ(One("#Lang."), text + ".");
}

TEST_F(TemplateLanguage, ValuesOfEachTypeTurnIntoText)
{
    Set("Ganz", 42);
    Set("Betrag", 1234.5);
    Set("Geld", Variant::Currency(1234.5));
    Set("Tag", Variant::Date(EncodeDate(2024, 3, 5)));
    Set("Ja", true);
    Set("Nichts", Variant::Null());
    expectLines({{"<#Ganz:5>", "<42   >"},
                 {"<#Ganz:5:2>", "<42   >"},
                 {"<#Betrag:10:2>", "<  1.234,50>"},
                 {"<#Betrag::1>", "<1.234,5>"},
                 {"<#Geld:12:2>", "<  1.234,50 €>"},
                 {"<#Tag>", "<05.03.2024>"},
                 {"<#Ja>", "<True>"},
                 {"<#Nichts:4>", "<    >"}});

    m_context.DefaultDecimals = "3";
    EXPECT_EQ(One("<#Betrag:10>"), "< 1.234,500>");
    EXPECT_EQ(One("<#Geld:12>"), "< 1.234,500 €>");
}

TEST_F(TemplateLanguage, FieldGroupsDisappearWithTheirFirstValue)
{
    Set("Tel", "");
    EXPECT_EQ(One("Tel.[ (#Tel)] Ende"), "Tel. Ende");
    Set("Tel", "123");
    EXPECT_EQ(One("Tel.[ (#Tel)] Ende"), "Tel. (123) Ende");

    Set("A", "x");
    Set("B", "");
    expectLines({{"[#A, #B]!", "x, !"},
                 {"[#B, #A]!", "!"},
                 {"[ohne Feld] und ]", "[ohne Feld] und ]"},
                 {"Tel.[ #B ohne Ende", "Tel."}});
}

TEST_F(TemplateLanguage, LineGroupsDropTheWholeLineOnlyWhenEveryValueIsEmpty)
{
    Set("Fax", "");
    Set("Mobil", "");
    EXPECT_EQ(Run({"[[Fax: #Fax #Mobil]]", "danach"}), QStringList({"danach"}));
    Set("Mobil", "0170");
    expectLines({{"[[Fax: #Fax:4 Mobil: #Mobil]]", "Fax:      Mobil: 0170"},
                 {"[[kein Feld]]", "[[kein Feld]]"},
                 {"a]]b", "a]]b"}});
}

TEST_F(TemplateLanguage, PlaceholdersAfterGroupsStandWhereTheTextShowsThem)
{
    Set("A", "1");
    Set("B", "2");
    expectLines({{"[[#A]] x #B y", "1 x 2 y"}, {"[#A] x #B y", "1 x 2 y"}, {"[[(#A)]] [#A:3] #B:2|.", "(1) 1   2 ."}});
}

TEST_F(TemplateLanguage, WrappedValuesContinueAtTheirColumn)
{
    Set("T", "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjjj");
    Set("N", "7");
    EXPECT_EQ(Run({"A #T:m20 B #N"}),
              QStringList({"A aaaa bbbb cccc dddd  B 7", "  eeee ffff gggg hhhh", "  iiii jjjjj"}));
}

TEST_F(TemplateLanguage, LineBreaksInValues)
{
    Set("Zwei", "Zeile1\r\nZeile2\r\n");
    EXPECT_EQ(Run({"#Zwei:m10|!"}), QStringList({"Zeile1    !", "Zeile2"}));
    // One break at the end is dropped: a value of only that empties its group.
    Set("Umbruch", "\r\n");
    Set("A", "x");
    EXPECT_EQ(Run({"[#Umbruch:3, #A]!"}), QStringList({"!"}));
    // Unwrapped, a value keeps its breaks inside its one output line.
    Set("Lf", "a\nb");
    Set("Cr", "eins\rzwei");
    expectLines({{"<#Lf>", "<a\rb>"}, {"#Cr:20|.", "eins\rzwei           ."}});
}

TEST_F(TemplateLanguage, FormatAndNameErrors)
{
    Set("Name", "x");
    expectErrors({{{"#Name:abc"}, "Format abc des Feldes Name ist ungültig!"},
                  {{"#Name:10m"}, "Format 10m des Feldes Name ist ungültig!"},
                  {{"#Name:100000000"}, "Format 100000000 des Feldes Name ist ungültig!"}});
    EXPECT_EQ(ErrorOf({"#Name:99999999999999999999"}), "Format 99999999999999999999 des Feldes Name ist ungültig!");
    EXPECT_EQ(ErrorOf({"#Fehlt"}), "Feld Fehlt wurde nicht gefunden!");
    Set("Betrag", 1.5);
    EXPECT_EQ(ErrorOf({"#Betrag:10:2:3"}), "Format 10:2:3 des Feldes Betrag ist ungültig!");
    m_vocabulary.AddItem()->Name = "Roh";
    expectErrors({{{"#Roh"}, "Feld nicht auswertbar!"},
                  {{"[[a [#Name] b]]"}, "Geschachtelte Klammern werden nicht unterstützt!"},
                  {{"[a [[#Name]] b]"}, "Geschachtelte Klammern werden nicht unterstützt!"},
                  {{"[a [#Name] b"}, "Geschachtelte Klammern werden nicht unterstützt!"}});
    // A failing line adds nothing and earlier lines stay.
    QStringList output;
    m_context.ProcessTemplateLine("vorher", output, QString());
    EXPECT_THROW(m_context.ProcessTemplateLine("Wert #Fehlt", output, QString()), EFormularerror);
    EXPECT_EQ(output, QStringList({"vorher"}));
}

TEST_F(TemplateLanguage, FiftyOneSlotsFitAndTheFiftySecondIsRefused)
{
    Set("x", "1");
    const QString fiftyOne = QString("#x ").repeated(51);
    EXPECT_EQ(One(fiftyOne), QString("1 ").repeated(51));
    EXPECT_EQ(ErrorOf({QString("#x").repeated(52)}), "Eine Zeile darf höchstens 51 Felder und Klammern enthalten!");
    EXPECT_EQ(ErrorOf({QString("[#x]").repeated(26)}), "Eine Zeile darf höchstens 51 Felder und Klammern enthalten!");
}

TEST_F(TemplateLanguage, ConditionsSkipUpToTheirEnd)
{
    Set("Name", "Meier");
    EXPECT_EQ(Run({"!Wenn #Name = \"\"", "kein Name", "!Wenn gar nicht ausgewertet", "innen", "!EndeWenn", "noch leer",
                   "!EndeWenn", "Ende"}),
              QStringList({"Ende"}));
    EXPECT_EQ(m_context.ConditionDepth(), 0);
    EXPECT_EQ(Run({"!Wenn #Name = \"Meier\"", "Herr #Name", "!EndeWenn", "!EndeWenn", "x"}),
              QStringList({"Herr Meier", "x"}));
}

TEST_F(TemplateLanguage, SkippedLinesProduceNothingButUnknownCommandsStillFail)
{
    EXPECT_EQ(Run({"!Wenn false", "", "#Fehlt", "!Var #a=1"}), QStringList());
    EXPECT_EQ(m_vocabulary.IndexOfQualifiedName("a"), -1);
    EXPECT_EQ(ErrorOf({"!Unbekannt"}), "Befehl !Unbekannt nicht gefunden!");
    EXPECT_EQ(ErrorOf({"!wenn true"}), "Befehl !wenn nicht gefunden!");
    m_context.ResetTemplateState();
    EXPECT_EQ(m_context.ConditionDepth(), 0);
}

TEST_F(TemplateLanguage, ConditionMustBeATruthValue)
{
    const QString message = "Wenn-Ausdruck muss eine Logische Aussage (Wahr oder Falsch) ergeben.";
    expectErrors({{{"!Wenn Wort"}, message}, {{"!Wenn 1+1"}, message}, {{"!Wenn \"a\"-1"}, message}});
    Set("Zahl", 0);
    EXPECT_EQ(Run({"!Wenn #Zahl", "null", "!EndeWenn", "!Wenn #Zahl+1", "eins", "!EndeWenn"}), QStringList({"eins"}));
}

TEST_F(TemplateLanguage, VariablesAreCreatedAssignedAndGuarded)
{
    EXPECT_EQ(Run({"!Var #Summe=5", "!Var #Summe=#Summe+1", "<#Summe>"}), QStringList({"<51>"}));
    Set("Zahl", 5);
    EXPECT_EQ(Run({"!Var #Plus=#Zahl+1", "<#Plus>"}), QStringList({"<6,00>"}));
    EXPECT_EQ(m_vocabulary.GetItem(m_vocabulary.IndexOfQualifiedName("Summe"))->Name, "PRGVARSumme");
    EXPECT_EQ(Run({"!Var #Text=\"Hallo\"+\" Welt\"", "#Text"}), QStringList({"Hallo Welt"}));
    EXPECT_EQ(Run({"!Var #Leer", "#Leer"}), QStringList({"False"}));
    EXPECT_EQ(Run({"!Var #mit =1"}), QStringList());
    expectErrors({{{"<#mit>"}, "Feld mit wurde nicht gefunden!"},
                  {{"!Var Summe=1"}, "Variablen müssen immer mit einem # anfangen"},
                  {{"!Var #Wenn=1"}, "Variablenname nicht verwendbar!"}});
}

TEST_F(TemplateLanguage, OtherCommandsKeepTheirArgumentAsValue)
{
    Set("Var_Seite", 1);
    Run({"!Var_Seite 5 von 7"});
    EXPECT_EQ(One("#Var_Seite"), "5 von 7");
    Run({"!Var_Seite"});
    EXPECT_EQ(One("#Var_Seite"), "<Leerzeile>");
    Run({"!Wenn"});
    EXPECT_EQ(m_context.ConditionDepth(), 1);
    // Sections run from the loaded template.
    m_context.ResetTemplateState();
    m_formular.Section(fsKopfzeile) << "!Var #n=\"2\""
                                    << "Seite #n"
                                    << "";
    QStringList output;
    m_context.ProcessFormSection(fsKopfzeile, output, "\t");
    EXPECT_EQ(output, QStringList({"Seite 2\t", "\t"}));
}

TEST_F(TemplateLanguage, ResetClearsCommandsAndRemovesEveryVariable)
{
    Run({"!Var #a=1", "!Wenn false"});
    m_vocabulary.GetItem(0)->Value = Variant("gesetzt");
    m_context.ResetTemplateState();
    EXPECT_EQ(m_context.ConditionDepth(), 0);
    EXPECT_EQ(m_vocabulary.Count(), 3);
    for (int i = 0; i < m_vocabulary.Count(); ++i)
        EXPECT_EQ(m_vocabulary.GetItem(i)->Value, Variant(QString()));
}

TEST(WrapTextRule, BreaksAtLineBreaksBlanksAndDashes)
{
    QString text = "abc-def ghi";
    QString piece;
    WrapText(text, 5, piece);
    EXPECT_EQ(piece, "abc-");
    EXPECT_EQ(text, "def ghi");

    text = "abcdefgh";
    WrapText(text, 3, piece);
    EXPECT_EQ(piece, "abc");
    EXPECT_EQ(text, "defgh");

    text = "ab\ncd efgh";
    WrapText(text, 8, piece);
    EXPECT_EQ(piece, "ab ");
    EXPECT_EQ(text, "cd efgh");

    text = "kurz";
    WrapText(text, 10, piece);
    EXPECT_EQ(piece, "kurz");
    EXPECT_TRUE(text.isEmpty());

    text = "ohne Grenze\r\nRest";
    WrapText(text, 0, piece);
    EXPECT_EQ(piece, "ohne Grenze ");
    EXPECT_EQ(text, "Rest");
}

} // namespace
