#include "ModuleFieldsFixture.h"

#include "platform/db/TField.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"

namespace {

double number(const QString &text)
{
    return text.isEmpty() ? 0 : StrToFloat(text);
}

}

class DocumentFields : public ModuleFieldsTest
{
protected:
    // Printing writes into the tables (position numbers, dunning records),
    // so every test prints from a copy of its own.
    void SetUp() override
    {
        ModuleFieldsTest::SetUp();
        freshTables();
    }

    QList<DefinitionMap> printDocument(const QString &module, const QString &formType, const QString &key)
    {
        open(module, formType, QStringLiteral("L"), QStringLiteral("E"), key);
        const int limit = define();
        if (limit <= 0)
            return {};
        return printRecords(limit);
    }

    // A copy of the demo tables in which one document lost its head.
    void deleteHead(const QString &table, const QString &key)
    {
        TTable heads;
        heads.SetTableName(ProgramPaths().DatenPfad + table);
        heads.Open();
        ASSERT_TRUE(heads.FindKey({key}));
        heads.Delete();
    }

    // The lines' totals as the table shows them.
    static QStringList lineTotals(const QList<DefinitionMap> &records, const QString &name = "F gpreis")
    {
        QStringList totals;
        for (const DefinitionMap &line : records)
            totals << contents(line, name);
        return totals;
    }

    static QString contents(const DefinitionMap &record, const QString &key) { return record.value(key).contents; }
};

TEST_F(DocumentFields, AnOrderConfirmationDefinesItsHeadPartnerAndFirstPosition)
{
    const QList<DefinitionMap> records = printDocument("Auftrag", "Auftragsbest.", "20260002");
    ASSERT_EQ(records.size(), 3);
    expectGolden("Auftrag_Auftragsbest_20260002", records.first());
}

TEST_F(DocumentFields, APurchaseOrderDefinesTheSupplierAndNoBarcodes)
{
    const QList<DefinitionMap> records = printDocument("Bestellung", "Bestellung", "30260004");
    ASSERT_EQ(records.size(), 2);
    expectGolden("Bestellung_Bestellung_30260004", records.first());
}

TEST_F(DocumentFields, TheBigInvoiceShowsCarriesBlockSumsTextLinesAndItsPartners)
{
    const QList<DefinitionMap> records = printDocument("Auftrag", "Rechnung", "20260001");
    ASSERT_EQ(records.size(), 46);
    const auto line = [&](int index, const char *name) { return contents(records.at(index), name).toStdString(); };
    // Per line its number, text mark, carry, block sum, article and text:
    // two subtotal lines show the carry with empty fields, a block end (one
    // written in lower case) shows its block and the next line with an
    // amount starts it anew, a text line keeps its place with number 0.
    QString table;
    for (const DefinitionMap &record : records) {
        QStringList columns;
        for (const char *name :
             {"F posdruck", "F TextPos", "F Übertrag", "F ÜbertragBlock", "F Artikelnr", "F Bezeichnung"})
            columns << contents(record, QString::fromUtf8(name));
        table += columns.join(QLatin1Char('|')) + QLatin1Char('\n');
    }
    expectGoldenText(QStringLiteral("Auftrag_Rechnung_20260001_lines"), table);
    EXPECT_EQ(line(45, "V Übertrag"), "5359,1");
    EXPECT_EQ(line(0, "F Artikel_Bezeichnung"), line(0, "F Bezeichnung"));
    // The delivery address and the representative come with a sales document.
    EXPECT_EQ(value("Kunde_nr"), "10001");
    EXPECT_EQ(value("Lieferadr_nr"), "10008");
    EXPECT_EQ(value("Vertreter_nr"), "201");
    EXPECT_EQ(value("Barcode_Auftragnr_CODE128_Dick"), "20260001");
    EXPECT_EQ(value("Barcode_KdNr_CODE128_Dick"), "10001");
}

TEST_F(DocumentFields, ADocumentInItsOwnCurrencyAddsTheCurrencyTotals)
{
    const QList<DefinitionMap> records = printDocument("Auftrag", "Auftragsbest.", "20260002");
    ASSERT_EQ(records.size(), 3);
    EXPECT_FALSE(data.job().euroDruck);
    EXPECT_EQ(value("Währung"), "DM");
    EXPECT_EQ(lineTotals(records), QStringList({"291,42", "48,7", "17,6"}));
    EXPECT_EQ(lineTotals(records, "F gpreisEuro"), QStringList({"149", "24,9", "9"}));
    EXPECT_EQ(value("Übertrag"), "357,72");
    EXPECT_DOUBLE_EQ(number(value("SummeMenge")), 4);
}

TEST_F(DocumentFields, TheSalutationAndPaymentDatesAreFilledIn)
{
    printDocument("Auftrag", "Auftragsbest.", "20260002");
    EXPECT_EQ(value("Kopftext"), "Sehr geehrte Frau Jürgens,\r\n\r\nwir bestätigen Ihren Auftrag wie folgt:");
    EXPECT_EQ(value("ZahlbarBisDatum"), "26.10.2026") << "no invoice date: the document date counts";
    EXPECT_EQ(value("SkontoBisDatum"), "20.10.2026");
    printDocument("Auftrag", "Rechnung", "20260004");
    EXPECT_EQ(value("ZahlbarBisDatum"), "02.11.2026");
    data.OpenDBs(false);
    editRecord(ProgramPaths().DatenPfad + "auftrag.db", {"20260004"}, [](TTable &head) {
        head.FieldByName("RGDatum")->Clear();
        head.FieldByName("Datum")->Clear();
    });
    printDocument("Auftrag", "Rechnung", "20260004");
    EXPECT_EQ(value("ZahlbarBisDatum") + value("SkontoBisDatum"), "") << "no date, no date to pay by";
}

TEST_F(DocumentFields, AnUnknownCustomerLeavesThePartnerEmptyAndGreetsInGeneral)
{
    printDocument("Auftrag", "Angebot", "20260003");
    EXPECT_EQ(value("Kunde_Name"), "");
    EXPECT_EQ(value("Lieferadr_Name"), "");
    EXPECT_TRUE(value("Kopftext").startsWith("Sehr geehrte Damen und Herren,\r\n"));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(DocumentFields, AnUnknownDocumentIsReportedOnceByItsHeadAndPrintsNothing)
{
    const struct
    {
        const char *module;
        const char *formType;
        const char *key;
        const char *message;
    } cases[] = {{"Auftrag", "Rechnung", "20269999", "atr.qlocate(20269999) erfolglos"},
                 {"Bestellung", "Bestellung", "30269999", "bst.qlocate(30269999) erfolglos"}};
    for (const auto &c : cases) {
        services.clear();
        engine.calls.clear();
        data.OpenDBs(false);
        open(c.module, c.formType, "L", "E", c.key);
        EXPECT_EQ(define(), printroad::NothingToPrint) << c.module;
        EXPECT_EQ(messages().join("|").toStdString(), c.message);
        EXPECT_EQ(services.messages().first().caption, "Fehler DefineFields");
        EXPECT_FALSE(definitions().contains("V Kopftext")) << c.module;
    }
}

TEST_F(DocumentFields, AHeadWithoutPositionsPrintsAloneWithoutAMessage)
{
    TTable positions;
    positions.SetTableName(ProgramPaths().DatenPfad + "atrpos.db");
    positions.Open();
    while (positions.FindKey({"20260005"}))
        positions.Delete();
    const QList<DefinitionMap> records = printDocument("Auftrag", "Lieferschein", "20260005");
    EXPECT_TRUE(messages().isEmpty()) << messages().join("|").toStdString();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(value("auftragnr"), "20260005");
    EXPECT_FALSE(value("Kunde_Name").isEmpty());
    EXPECT_EQ(contents(records.first(), "F auftragnr"), "") << "another document's position stays blank";
    EXPECT_EQ(contents(records.first(), "F Bezeichnung"), "");
}

TEST_F(DocumentFields, APositionWithoutHeadIsNotPrintedUnderAnotherHead)
{
    deleteHead("Auftrag.db", "20260005");
    open("Auftrag", "Lieferschein", "L", "E", "20260005");
    EXPECT_EQ(define(), printroad::NothingToPrint);
    EXPECT_EQ(messages().join("|").toStdString(), "atr.qlocate(20260005) erfolglos");
    EXPECT_FALSE(definitions().contains("V Kopftext"));
}

TEST_F(DocumentFields, TheLayoutDesignerGetsADocumentWithoutHeadWithoutAMessage)
{
    deleteHead("Bestell.db", "30260002");
    open("Bestellung", "Anfrage", "L", "E", "30260002");
    EXPECT_GT(fields->DefineFields(job, slot, false, true), 0);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(value("Kopftext"), "");
    EXPECT_EQ(value("Lieferant_Name"), "");
    EXPECT_EQ(value("auftragnr"), "");
    EXPECT_EQ(value("Bezeichnung"), "Spanplatte 19 mm, 2800 × 2070 mm");
}

TEST_F(DocumentFields, TheHeadsEuroSwitchChoosesWhichTotalsTheCarryAdds)
{
    editRecord(ProgramPaths().DatenPfad + "Auftrag.db", {"20260002"},
               [](TTable &head) { head.FieldByName("Euro")->SetAsString("J"); });
    const QList<DefinitionMap> records = printDocument("Auftrag", "Auftragsbest.", "20260002");
    ASSERT_EQ(records.size(), 3);
    EXPECT_TRUE(data.job().euroDruck);
    EXPECT_EQ(value("Währung"), "€");
    EXPECT_EQ(lineTotals(records), QStringList({"149", "24,9", "9"}));
    EXPECT_EQ(lineTotals(records, "F gpreisWae"), QStringList({"291,42", "48,7", "17,6"}));
    EXPECT_EQ(value("Übertrag"), "182,9");
}

TEST_F(DocumentFields, AnInvoiceThatFailsWhileNumberingKeepsNoNumber)
{
    unnumberPositions();
    open("Auftrag", "Rechnung", "L", "E", "20260001");
    int posts = 0;
    tc->SetBeforePost([&posts](TDataSet *) {
        if (++posts == 20)
            throw EDatabaseError(QStringLiteral("Datenträger voll"));
    });
    EXPECT_THROW(define(), EDatabaseError);
    data.OpenDBs(false);
    TTable positions;
    positions.SetTableName(ProgramPaths().DatenPfad + "atrpos.db");
    positions.Open();
    positions.SetRange({"20260001"}, {"20260001"});
    int numbered = 0;
    for (positions.First(); !positions.Eof(); positions.Next())
        numbered += positions.FieldByName("posdruck")->IsNull() ? 0 : 1;
    EXPECT_EQ(posts, 20);
    EXPECT_EQ(numbered, 0);
}
