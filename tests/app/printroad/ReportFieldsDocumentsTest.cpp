#include "ModuleFieldsFixture.h"

#include "platform/db/TField.h"
#include "platform/runtime/Conversions.h"

namespace {

double number(const QString &text)
{
    return text.isEmpty() ? 0 : StrToFloat(text);
}

}

class DocumentFields : public ModuleFieldsTest
{
protected:
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
        freshTables();
        TTable heads;
        heads.SetTableName(ProgramPaths().DatenPfad + table);
        heads.Open();
        ASSERT_TRUE(heads.FindKey({key}));
        heads.Delete();
    }

    // The sum of the lines' totals in the amount they show ("gpreis" equals
    // "gpreis" + `shown`, never "gpreis" + `hidden`).
    static double shownTotals(const QList<DefinitionMap> &records, const QString &shown, const QString &hidden)
    {
        double sum = 0;
        for (const DefinitionMap &line : records) {
            EXPECT_EQ(contents(line, "F gpreis"), contents(line, "F gpreis" + shown));
            EXPECT_NE(contents(line, "F gpreis"), contents(line, "F gpreis" + hidden));
            sum = RoundTo(sum + number(contents(line, "F gpreis" + shown)), 2);
        }
        return sum;
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
    EXPECT_FALSE(records.first().contains("V Barcode_Auftragnr_3of9"));
    EXPECT_FALSE(records.first().contains("V Lieferadr_Name"));
}

TEST_F(DocumentFields, TheCarryGrowsLineByLineAndSubtotalLinesShowItWithEmptyFields)
{
    const QList<DefinitionMap> records = printDocument("Auftrag", "Rechnung", "20260001");
    ASSERT_GT(records.size(), 40);
    double carry = 0;
    double block = 0;
    for (const DefinitionMap &line : records) {
        const QString description = contents(line, "F Bezeichnung");
        carry = RoundTo(carry + number(contents(line, "F gpreis")), 2);
        block = RoundTo(block + number(contents(line, "F gpreis")), 2);
        EXPECT_DOUBLE_EQ(number(contents(line, "F Übertrag")), carry) << description.toStdString();
        EXPECT_DOUBLE_EQ(number(contents(line, "V Übertrag")), carry);
        EXPECT_DOUBLE_EQ(number(contents(line, "F ÜbertragBlock")), block) << description.toStdString();
        if (description.toUpper() == "#ZWB")
            block = 0;
    }
    int subtotals = 0;
    for (const DefinitionMap &line : records) {
        if (!contents(line, "F Bezeichnung").isEmpty())
            continue;
        ++subtotals;
        EXPECT_TRUE(contents(line, "F posdruck").isEmpty());
        EXPECT_EQ(contents(line, "F TextPos"), "true");
        EXPECT_FALSE(contents(line, "F Übertrag").isEmpty());
    }
    EXPECT_EQ(subtotals, 2);
}

TEST_F(DocumentFields, ABlockEndShowsItsBlockAndTheNextLineStartsAnew)
{
    const QList<DefinitionMap> records = printDocument("Auftrag", "Rechnung", "20260001");
    int blockEnds = 0;
    for (qsizetype i = 0; i + 1 < records.size(); ++i) {
        if (contents(records.at(i), "F Bezeichnung").toUpper() != "#ZWB")
            continue;
        ++blockEnds;
        const DefinitionMap &next = records.at(i + 1);
        EXPECT_DOUBLE_EQ(number(contents(next, "F ÜbertragBlock")), number(contents(next, "F gpreis")));
        EXPECT_GT(number(contents(records.at(i), "F ÜbertragBlock")), 0);
    }
    EXPECT_EQ(blockEnds, 2) << "one block end is written in lower case";
}

TEST_F(DocumentFields, ADocumentInItsOwnCurrencyAddsTheCurrencyTotals)
{
    const QList<DefinitionMap> records = printDocument("Auftrag", "Auftragsbest.", "20260002");
    ASSERT_EQ(records.size(), 3);
    EXPECT_FALSE(data.job().euroDruck);
    EXPECT_EQ(value("Währung"), "DM");
    EXPECT_DOUBLE_EQ(number(value("Übertrag")), shownTotals(records, "Wae", "Euro"));
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
}

TEST_F(DocumentFields, AnUnknownCustomerLeavesThePartnerEmptyAndGreetsInGeneral)
{
    printDocument("Auftrag", "Angebot", "20260003");
    EXPECT_EQ(value("Kunde_Name"), "");
    EXPECT_EQ(value("Lieferadr_Name"), "");
    EXPECT_TRUE(value("Kopftext").startsWith("Sehr geehrte Damen und Herren,\r\n"));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(DocumentFields, TheDeliveryAddressAndRepresentativeComeWithASalesDocument)
{
    printDocument("Auftrag", "Rechnung", "20260001");
    EXPECT_EQ(value("Kunde_nr"), "10001");
    EXPECT_EQ(value("Lieferadr_nr"), "10008");
    EXPECT_EQ(value("Vertreter_nr"), "201");
    EXPECT_EQ(value("Barcode_Auftragnr_CODE128_Dick"), "20260001");
    EXPECT_EQ(value("Barcode_KdNr_CODE128_Dick"), "10001");
}

TEST_F(DocumentFields, AnUnknownDocumentPrintsNothingAndIsReportedOnce)
{
    open("Auftrag", "Rechnung", "L", "E", "20269999");
    EXPECT_EQ(define(), printroad::NothingToPrint);
    EXPECT_EQ(messages().size(), 1);
    EXPECT_FALSE(definitions().contains("V Kopftext"));
}

TEST_F(DocumentFields, APositionWithoutHeadIsNotPrintedUnderAnotherHead)
{
    deleteHead("Auftrag.db", "20260005");
    open("Auftrag", "Lieferschein", "L", "E", "20260005");
    EXPECT_EQ(define(), printroad::NothingToPrint);
    EXPECT_EQ(messages().join("|").toStdString(), "atr.qlocate(20260005) erfolglos");
    EXPECT_FALSE(definitions().contains("V Kopftext"));
}

TEST_F(DocumentFields, ATextLineIsMarkedAndKeepsItsPlaceInTheTable)
{
    const QList<DefinitionMap> records = printDocument("Auftrag", "Rechnung", "20260001");
    const auto text = std::find_if(records.cbegin(), records.cend(), [](const DefinitionMap &line) {
        return line.value("F Bezeichnung").contents.startsWith("Folgende Lieferung");
    });
    ASSERT_NE(text, records.cend());
    EXPECT_EQ(text->value("F TextPos").contents, "true");
    EXPECT_EQ(text->value("F posdruck").contents, "0");
    EXPECT_EQ(text->value("F Artikelnr").contents, "") << "a text line with a text keeps its empty number";
    EXPECT_EQ(records.first().value("F TextPos").contents, "false");
    EXPECT_EQ(records.first().value("F posdruck").contents, "1");
    EXPECT_EQ(records.first().value("F Artikel_Bezeichnung").contents, records.first().value("F Bezeichnung").contents);
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
    freshTables();
    editRecord(ProgramPaths().DatenPfad + "Auftrag.db", {"20260002"},
               [](TTable &head) { head.FieldByName("Euro")->SetAsString("J"); });
    const QList<DefinitionMap> records = printDocument("Auftrag", "Auftragsbest.", "20260002");
    ASSERT_EQ(records.size(), 3);
    EXPECT_TRUE(data.job().euroDruck);
    EXPECT_EQ(value("Währung"), "€");
    EXPECT_DOUBLE_EQ(number(value("Übertrag")), shownTotals(records, "Euro", "Wae"));
    EXPECT_DOUBLE_EQ(number(value("Übertrag")), 149 + 24.9 + 9);
}
