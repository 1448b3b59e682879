#include "ModuleFieldsFixture.h"

#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <QDate>

class OpenItemFields : public ModuleFieldsTest
{
protected:
    // Printing writes into the tables (position numbers, dunning records),
    // so every test prints from a copy of its own.
    void SetUp() override
    {
        ModuleFieldsTest::SetUp();
        freshTables();
    }

    // The open item of a document as the table holds it now.
    QVariant openItemValue(const QString &document, const QString &field)
    {
        TTable items;
        items.SetTableName(ProgramPaths().DatenPfad + "offpos.db");
        items.Open();
        if (!items.FindKey({document}))
            return QStringLiteral("fehlt");
        return items.FieldByName(field)->Value();
    }

    void setProposalLevel(const QString &document, int level)
    {
        TTable proposal;
        proposal.SetTableName(ProgramPaths().DatenPfad + "offposMa.db");
        proposal.Open();
        ASSERT_TRUE(proposal.Locate("auftragnr", document, {}));
        proposal.Edit();
        proposal.FieldByName("mahnstufe")->SetAsInteger(level);
        proposal.Post();
    }

    QList<DefinitionMap> dunningLetter(const QString &customer, bool designer = false)
    {
        open("Mahnung", "Mahnung", "L", "E", customer);
        const int limit = fields->DefineFields(job, slot, false, designer);
        return limit > 0 ? printRecords(limit) : QList<DefinitionMap>{};
    }
};

TEST_F(OpenItemFields, ADunningLetterTakesTheHighestLevelAndFillsItsText)
{
    const QList<DefinitionMap> lines = dunningLetter("10001");
    ASSERT_EQ(lines.size(), 3);
    expectGolden("Mahnung_Mahnung_10001", lines.first());
    // The letter's level 3, its text and fee are in the golden record.
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(OpenItemFields, ThePaymentDateOfTheLetterCountsFromToday)
{
    dunningLetter("10005");
    EXPECT_EQ(value("Bezeichnung"), "1. Mahnung");
    EXPECT_TRUE(value("Mahntext").endsWith("bis zum 10.12.2026.")) << value("Mahntext").toStdString();
}

TEST_F(OpenItemFields, TheLetterSumsTheOpenAmountsAndTheProposedInterest)
{
    dunningLetter("10001");
    EXPECT_EQ(value("Summe_OffenerBetrag"), "6198,77");
    EXPECT_EQ(value("Summe_Verzugszinsen"), "69,42");
}

TEST_F(OpenItemFields, TheLetterRecordsTheDunningWhileItsFieldsAreDefined)
{
    const QList<DefinitionMap> lines = dunningLetter("10001");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.first().value("F mahndatum1").contents, "30.11.2026") << "the line shows what was recorded";
    // A second copy of the letter records the same once more.
    data.OpenDBs(false);
    dunningLetter("10001");
    EXPECT_EQ(openItemValue("20260001", "mahndatum1").toDate(), QDate(2026, 11, 30));
    EXPECT_EQ(openItemValue("20260009", "mahndatum3").toDate(), QDate(2026, 11, 30));
    EXPECT_EQ(openItemValue("20260009", "mahndatum1").toDate(), QDate(2026, 9, 7)) << "earlier levels stay";
    EXPECT_EQ(openItemValue("20260010", "mahndatum2").toDate(), QDate(2026, 11, 30));
    EXPECT_GT(openItemValue("20260009", "mahnzinsBetrag").toDouble(), 0);
    EXPECT_EQ(openItemValue("20260009", "mahnzinstage").toInt(), 104);
    EXPECT_DOUBLE_EQ(openItemValue("20260010", "mahngebuehr").toDouble(), 10.0) << "the fee goes to the last item";
    EXPECT_TRUE(openItemValue("20260001", "mahngebuehr").isNull());
    EXPECT_TRUE(openItemValue("20260012", "mahndatum1").isNull()) << "another customer's item is untouched";
}

TEST_F(OpenItemFields, TheDesignerOrALetterThatFailsHalfWayRecordsNothing)
{
    dunningLetter("10001", true);
    EXPECT_TRUE(openItemValue("20260001", "mahndatum1").isNull());
    data.OpenDBs(false);

    open("Mahnung", "Mahnung", "L", "E", "10001");
    int posts = 0;
    tcOffPos->SetBeforePost([&posts](TDataSet *) {
        if (++posts == 3)
            throw EDatabaseError(QStringLiteral("Datenträger voll"));
    });
    EXPECT_THROW(fields->DefineFields(job, slot, false, false), EDatabaseError);
    data.OpenDBs(false);
    EXPECT_EQ(posts, 3);
    EXPECT_TRUE(openItemValue("20260001", "mahndatum1").isNull());
    EXPECT_TRUE(openItemValue("20260010", "mahndatum2").isNull());
    EXPECT_TRUE(openItemValue("20260010", "mahngebuehr").isNull());
}

TEST_F(OpenItemFields, AnInvalidLevelIsReportedAndChoosesNoParameters)
{
    setProposalLevel("20260009", 7);
    dunningLetter("10001");
    EXPECT_EQ(messages().join("|").toStdString(), "Mahnstufe bei OP 20260009 ungültig");
    EXPECT_EQ(value("Mahnstufe"), "2") << "the valid levels 1 and 2 remain";
    EXPECT_GT(openItemValue("20260009", "mahnzinsBetrag").toDouble(), 0) << "its interest is still recorded";
    EXPECT_TRUE(openItemValue("20260009", "mahndatum3").isNull());
}

// Parameters that end below the reached level give no text or fee of
// another level.
TEST_F(OpenItemFields, ALevelWithoutParametersIsReportedAndTakesNoneOfAnother)
{
    TTable parameters;
    parameters.SetTableName(ProgramPaths().DatenPfad + "MahnPara.db");
    parameters.Open();
    for (parameters.Last(); parameters.RecordCount() > 2;)
        parameters.Delete();
    parameters.Close();
    dunningLetter("10001");
    EXPECT_EQ(messages().join("|").toStdString(), "Mahnstufe 3 in MahnPara.db nicht gefunden");
    EXPECT_EQ(value("Mahnstufe") + value("Mahntext") + value("Mahngebühr") + value("MahngebührEuro"), "");
    EXPECT_TRUE(openItemValue("20260010", "mahngebuehr").isNull());
}

TEST_F(OpenItemFields, TheOpenItemListSumsWhatItPrints)
{
    open("Offene Posten", "Liste");
    const int limit = define();
    ASSERT_EQ(limit, 7);
    const QList<DefinitionMap> lines = printRecords(limit);
    ASSERT_EQ(lines.size(), 7);
    expectGolden("OffenePosten_Liste_first", lines.first());
    EXPECT_EQ(value("SummeOffenerBetrag"), "7705,3");
}

TEST_F(OpenItemFields, PurchaseOpenItemsCountValueLessPaid)
{
    open("OpoBList", "Liste");
    const QList<DefinitionMap> lines = printRecords(define());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(value("SummeOffenerBetrag"), "894,7");
    EXPECT_EQ(lines.first().value("F Lieferant_Name").contents, "Schrauben-Schäfer GmbH");
    EXPECT_EQ(lines.first().value("F Bestellung_auftragnr").contents, "30260001");
}

TEST_F(OpenItemFields, PaymentsOfAPeriodAreSortedByDateWithoutChangingTheRequest)
{
    open("Zahlungseingang", "Liste", "L", "A2", ">=01.10.2026;<=31.10.2026");
    const QList<DefinitionMap> lines = printRecords(define());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0).value("F Zahldatum").contents, "09.10.2026");
    EXPECT_EQ(lines.at(1).value("F Kunde_Name").contents, "Müller & Söhne GmbH");
    EXPECT_EQ(PrintRequest().Datenbereich, "A2");
    EXPECT_EQ(PrintRequest().Datenfilter, "");
    expectGolden("Zahlungseingang_Liste_last", lines.last());
}

TEST_F(OpenItemFields, APeriodWithAQuoteIsQuotedIntoTheFilter)
{
    open("Zahlungsausgang", "Liste", "L", "A", ">=01.01.2026;<=31.12.2026' OR 'x'='x");
    EXPECT_ANY_THROW(define()) << "the pasted text stays one literal, which is no date";
    EXPECT_EQ(PrintRequest().Datenfilter, "") << "the request is given back on the way out";
    EXPECT_EQ(PrintRequest().Datensatz, ">=01.01.2026;<=31.12.2026' OR 'x'='x");
}

TEST_F(OpenItemFields, OutgoingPaymentsNameTheSupplierAndThePurchase)
{
    open("Zahlungsausgang", "Liste", "L", "A", ">=01.01.2026;<=31.12.2026");
    const QList<DefinitionMap> lines = printRecords(define());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.first().value("F Lieferant_nr").contents, "70001");
    EXPECT_EQ(lines.first().value("F Bestell_auftragnr").contents, "30260001");
    EXPECT_EQ(value("SummeZahlbetrag"), "450");
}
