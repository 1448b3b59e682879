#include "mail/EmailText.h"
#include "demo/tables/DemoTables.h"
#include "mail/NCTable.h"
#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

namespace {

struct Position
{
    QString description;
    double amount;
    double quantity;
    QString article = QStringLiteral("A1");
};

// Answers the address prompt from a script; each answer is the address
// typed (nullopt: "Diese E-Mail nicht senden").
class ScriptedPrompt : public TAddressPrompt
{
public:
    std::deque<std::optional<QString>> answers;
    bool saveChoice = false;
    bool cancelAll = false;
    QList<Request> asked;

    bool CancelAll() const override { return cancelAll; }
    bool Ask(const Request &request, QString &address, bool &save) override
    {
        asked << request;
        if (answers.empty() || !answers.front()) {
            if (!answers.empty())
                answers.pop_front();
            return false;
        }
        address = *answers.front();
        answers.pop_front();
        save = saveChoice;
        return true;
    }
};

class EmailTextTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    TFormatlist vocabulary;
    TFormular formular;
    TTemplateContext context{vocabulary, &formular};
    std::vector<std::unique_ptr<TNCTable>> tables;

    void SetUp() override
    {
        demo::writeTable("setup.db", folder.path(),
                         demo::Rows{{{"Firma", "Tintlen GmbH"}, {"EuroBezeichnung", "EUR"}}});
        demo::writeTable("Kunden.db", folder.path(),
                         demo::Rows{{{"nr", "K1"}, {"Name", "Müller"}, {"EMail", "mueller@example.org"}},
                                    {{"nr", "K2"}, {"Name", "Ohne Adresse"}}});
        demo::writeTable("Mitarbei.db", folder.path(), demo::Rows{{{"nr", "V1"}, {"Name", "Vertreter"}}});
        demo::writeTable("Artikel.db", folder.path(), demo::Rows{{{"Artikelnr", "A1"}, {"Einheit", "Stk"}}});
        formular.Section(fsDokumentanfang) = {"Rechnung #Auftrag_auftragnr an #Kunden_Name"};
        formular.Section(fsKopfzeile) = {"Seite #Var_Seite"};
        formular.Section(fsTabellenkopf) = {"Kopf #Var_Übertrag"};
        formular.Section(fsTabelleneintrag) = {"#Pos_Bezeichnung:m10|#Var_Übertrag"};
        formular.Section(fsTabellenfuss) = {"Fuss #Var_Übertrag"};
        formular.Section(fsFormularende) = {"Summe #Var_Übertrag Menge #Var_SummeMenge"};
        formular.Section(fsFusszeile) = {"-- Fusszeile --"};
        formular.Section(fsDokumentende) = {"Ende"};
    }

    void writeDocuments(const QList<Position> &positions, const QString &customer = "K1")
    {
        demo::writeTable(
            "Auftrag.db", folder.path(),
            demo::Rows{{{"auftragnr", "1001"}, {"kundennr", customer}, {"Euro", "J"}, {"vertreternr", "V1"}},
                       {{"auftragnr", "1002"}, {"kundennr", "K9"}, {"Euro", "N"}}});
        demo::Rows rows;
        int number = 0;
        for (const Position &position : positions)
            rows << demo::Row{{"auftragnr", "1001"},           {"posnr", ++number},
                              {"Artikelnr", position.article}, {"Bezeichnung", position.description},
                              {"gpreis", position.amount},     {"gpreisWae", position.amount * 2},
                              {"menge", position.quantity}};
        rows << demo::Row{
            {"auftragnr", "1002"}, {"posnr", 1}, {"Bezeichnung", "Fremd"}, {"gpreis", 99.0}, {"gpreisWae", 7.5}};
        demo::writeTable("atrpos.db", folder.path(), rows);
        const auto open = [this](const char *name, const char *prefix) {
            auto table = std::make_unique<TNCTable>();
            table->SetDatabaseName(folder.path());
            table->SetTableName(name);
            table->Prefix = prefix;
            table->Open();
            vocabulary.RegisterTableFields(table.get(), AllAreas);
            tables.push_back(std::move(table));
            return tables.back().get();
        };
        vocabulary.RegisterTemplateCommands();
        sources = {open("Auftrag.db", "Auftrag"),
                   open("atrpos.db", "Pos"),
                   open("Artikel.db", "Artikel"),
                   open("Kunden.db", "Kunden"),
                   open("Mitarbei.db", "Mitarb"),
                   true,
                   "Kunden"};
    }

    // The e-mail of the document with that number.
    QStringList generate(const QString &document = "1001", bool preview = true, bool werbungAus = true)
    {
        EXPECT_TRUE(sources.Kopf->FindKey({document}));
        TEmailGenerator generator(context, formular, sources, folder.path(), werbungAus);
        generator.Tab = tab;
        generator.Prompt = &prompt;
        QStringList output;
        int page = 0;
        sent = generator.GenerateEmailText(output, sendTo, cc, page, preview, ask, subject, bcc);
        pages = page;
        tab = generator.Tab;
        return output;
    }

    TEmailDocumentTables sources;
    TEmailTabTexts tab{AutomaticRecipientText, "", "", "Rechnung #Auftrag_auftragnr"};
    ScriptedPrompt prompt;
    bool ask = false;
    bool sent = false;
    int pages = 0;
    QString sendTo, cc, bcc, subject;
};

// Lines compare as one text, so a failure shows them readably.
std::string lines(const QStringList &text)
{
    return text.join(QLatin1Char('\n')).toStdString();
}

const QList<Position> fourPositions{{"Apfel", 10, 1}, {"Birne", 5, 2}, {"Kirsche", 1, 1}, {"Pflaume", 2, 3}};

}

TEST_F(EmailTextTest, OnePageWithoutLineLimit)
{
    writeDocuments(fourPositions);
    EXPECT_EQ(generate(), QStringList({"Rechnung 1001 an Müller", "Seite 1", "Kopf 0", "Apfel     10,00",
                                       "Birne     15,00", "Kirsche   16,00", "Pflaume   18,00", "Fuss 18,00",
                                       "Summe 18,00 Menge 7,00", "-- Fusszeile --", "Ende"}));
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(sent);
    EXPECT_EQ(sendTo, "mueller@example.org");
    EXPECT_EQ(subject, "Rechnung 1001");
}

TEST_F(EmailTextTest, PageBreaksCarryTheSumOfThePositionsBeforeTheBreak)
{
    formular.MaxTabellenzeilen = 3;
    writeDocuments(fourPositions);
    const QStringList expected{"Rechnung 1001 an Müller",
                               "Seite 1",
                               "Kopf 0",
                               "Apfel     10,00",
                               "Birne     15,00",
                               "Kirsche   16,00",
                               "Fuss 16,00",
                               "-- Fusszeile --",
                               PageSeparatorLine,
                               "Seite 2",
                               "Kopf 16,00",
                               "Pflaume   18,00",
                               "Fuss 18,00",
                               "Summe 18,00 Menge 7,00",
                               "-- Fusszeile --",
                               "Ende"};
    EXPECT_EQ(generate(), expected);
    EXPECT_EQ(pages, 2);
    QStringList withoutSeparator = expected;
    withoutSeparator.removeAll(PageSeparatorLine);
    EXPECT_EQ(generate("1001", false), withoutSeparator);
}

TEST_F(EmailTextTest, ALongPositionOverflowsIntoTheNextPageAfterTheLimit)
{
    formular.MaxTabellenzeilen = 3;
    writeDocuments({{"Apfel", 10, 1}, {"AAAAAAAAA BBBBBBBBB CCCCCCCCC DDDDDDDDD EEEEEEEEE", 5, 1}});
    const QStringList output = generate();
    EXPECT_EQ(lines(output.mid(3)),
              lines({"Apfel     10,00", "AAAAAAAAA 15,00", "BBBBBBBBB", "Fuss 10,00", "-- Fusszeile --",
                     PageSeparatorLine, "Seite 2", "Kopf 10,00", "CCCCCCCCC", "DDDDDDDDD", "EEEEEEEEE", "Fuss 15,00",
                     "Summe 15,00 Menge 2,00", "-- Fusszeile --", "Ende"}));
    EXPECT_EQ(pages, 2);
}

TEST_F(EmailTextTest, SubtotalRowsCountInTheSumsAndPrintOnlyWhenAsked)
{
    formular.Section(fsTabelleneintrag) = {"#Pos_Bezeichnung:6|#Var_Übertrag / #Var_ÜbertragBlock"};
    writeDocuments({{"Apfel", 10, 1}, {"#ZWB", 1, 0}, {"Birne", 5, 2}, {"#zw", 2, 0}, {"Kirsche", 1, 1}});
    EXPECT_EQ(generate().mid(3, 3), QStringList({"Apfel 10,00 / 10,00", "Birne 16,00 / 5,00", "Kirsch19,00 / 8,00"}));
    formular.Zwischensumme = true;
    EXPECT_EQ(generate().mid(3, 5), QStringList({"Apfel 10,00 / 10,00", "#ZWB  11,00 / 11,00", "Birne 16,00 / 5,00",
                                                 "#zw   18,00 / 7,00", "Kirsch19,00 / 8,00"}));
}

// A block closing the document still shows its total at the end.
TEST_F(EmailTextTest, TheEndShowsTheBlockSumOfADocumentClosedByABlockEnd)
{
    formular.Section(fsFormularende) = {"Block #Var_ÜbertragBlock"};
    writeDocuments({{"Apfel", 10, 1}, {"#zwb", 0, 0}});
    for (const bool subtotalsPrinted : {false, true}) {
        formular.Zwischensumme = subtotalsPrinted;
        EXPECT_EQ(generate().filter("Block "), QStringList{"Block 10,00"});
    }
}

// The print road's subtotal lines are subtotal rows here too: a customer
// never reads a marker as a position.
TEST_F(EmailTextTest, EveryMarkerOfThePrintRoadIsASubtotalRow)
{
    formular.Section(fsTabelleneintrag) = {"#Pos_Bezeichnung:6|#Var_Übertrag"};
    writeDocuments({{"Apfel", 10, 1}, {"#ZS", 0, 0}, {"#z", 0, 0}, {"Birne", 5, 2}, {"#Z", 0, 0}, {"#zs", 1, 0}});
    EXPECT_EQ(generate().mid(3, 3), QStringList({"Apfel 10,00", "Birne 15,00", "Fuss 16,00"}));
}

TEST_F(EmailTextTest, RunningSumsRoundToCentsHalfAwayFromZero)
{
    writeDocuments({{"a", 1.005, 0.125}, {"b", 0.1, 0}, {"c", 0.2, 0}, {"d", -0.015, 0}});
    EXPECT_EQ(lines(generate().mid(3, 5)),
              lines({"a         1,01", "b         1,11", "c         1,31", "d         1,30", "Fuss 1,30"}));
    EXPECT_EQ(generate().at(8), "Summe 1,30 Menge 0,13");
}

TEST_F(EmailTextTest, AdvertisementFollowsTheSetting)
{
    // Every copy goes, also where the template holds the lines twice.
    formular.Section(fsDokumentende) = AdvertisementLines() + QStringList{"Ende"} + AdvertisementLines();
    writeDocuments(fourPositions);
    EXPECT_EQ(generate().mid(9), QStringList({"-- Fusszeile --", "Ende"}));
    formular.Section(fsDokumentende) = {"Ende"};
    EXPECT_EQ(generate("1001", true, false).mid(9),
              QStringList({"-- Fusszeile --", "Ende", ""}) + AdvertisementLines());
}

TEST_F(EmailTextTest, AMissingPartnerIsAnEmptyRecordAndNeverThePreviousOne)
{
    writeDocuments(fourPositions);
    generate("1001");
    EXPECT_EQ(sendTo, "mueller@example.org");
    const QStringList output = generate("1002");
    EXPECT_EQ(output.first(), "Rechnung 1002 an ");
    EXPECT_EQ(sendTo, "");
    // Not in euro: the amounts in the document's currency count.
    EXPECT_TRUE(output.contains("Fremd     7,50"));
}

TEST_F(EmailTextTest, InvalidAddressesAreAskedForAndCanBeStoredOrSkipped)
{
    writeDocuments(fourPositions, "K2");
    ask = true;
    tab.CC = "chef@example,org";
    prompt.answers = {QString("neu@example.org"), QString("chef@example.org")};
    prompt.saveChoice = true;
    generate();
    EXPECT_TRUE(sent);
    EXPECT_EQ(sendTo, "neu@example.org");
    EXPECT_EQ(cc, "chef@example.org");
    EXPECT_EQ(tab.CC, "chef@example.org");
    ASSERT_EQ(prompt.asked.size(), 2);
    EXPECT_EQ(prompt.asked[0].Message,
              "Die E-Mail Adresse für den Kunden Ohne Adresse ist ungültig. Bitte geben Sie eine neue Adresse an.");
    EXPECT_EQ(prompt.asked[0].Label, "Senden &an");
    EXPECT_EQ(prompt.asked[0].SaveCaption, "In Kunden-Datenbank &speichern");
    EXPECT_EQ(prompt.asked[1].Label, "&CC");
    EXPECT_EQ(prompt.asked[1].SaveCaption, "In CC-Zeile &speichern");
    EXPECT_EQ(sources.Partner->FieldByName("EMail")->AsString(), "neu@example.org");

    // Declined: not sent, and the copies are no longer asked for.
    tab.SendTo = "falsch";
    tab.CC = "auch falsch";
    prompt.asked.clear();
    prompt.answers = {std::nullopt};
    generate();
    EXPECT_FALSE(sent);
    EXPECT_EQ(prompt.asked.size(), 1);

    prompt.cancelAll = true;
    prompt.asked.clear();
    generate();
    EXPECT_FALSE(sent);
    EXPECT_TRUE(prompt.asked.isEmpty());
}

TEST_F(EmailTextTest, ArticleFieldsShowThePositionsArticleAndNothingForAMissingOne)
{
    formular.Section(fsTabelleneintrag) = {"#Pos_Bezeichnung #Artikel_Einheit."};
    demo::writeTable("Artikel.db", folder.path(),
                     demo::Rows{{{"Artikelnr", "A1"}, {"Einheit", "Stk"}}, {{"Artikelnr", "A2"}, {"Einheit", "kg"}}});
    writeDocuments({{"Mehl", 1, 1, "A2"}, {"Frei", 1, 1, "X9"}, {"Nagel", 1, 1, "A1"}});
    EXPECT_EQ(lines(generate().mid(3, 3)), lines({"Mehl kg.", "Frei .", "Nagel Stk."}));
}

TEST_F(EmailTextTest, TheSubjectIsOneLineAndAnEmptyFirstLineGivesEmptyTexts)
{
    writeDocuments(fourPositions);
    tab.Betreff = "";
    tab.SendTo = "";
    generate("1002");
    EXPECT_EQ(subject, "");
    EXPECT_EQ(sendTo, "");
}
