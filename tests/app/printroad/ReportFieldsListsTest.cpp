#include "ModuleFieldsFixture.h"

#include "app/printroad/ReportFieldsLists.h"
#include "platform/db/TField.h"

class ListFields : public ModuleFieldsTest
{
protected:
    // Changes the workstation's list settings in a copy of the tables.
    void setSettings(const QList<QPair<QString, QVariant>> &values)
    {
        editRecord(ProgramPaths().UserPfad + "setupLoc.db", {}, [&values](TTable &settings) {
            for (const auto &[name, value] : values)
                settings.FieldByName(name)->SetValue(value);
        });
    }

    void onlyKinds(const QStringList &kinds, const QString &range)
    {
        QList<QPair<QString, QVariant>> values;
        for (const char *kind : {"AtrLstAL", "AtrLstAG", "AtrLstAB", "AtrLstLS", "AtrLstRG", "AtrLstRB", "AtrLstGS"})
            values.append({QString(kind), QVariant(kinds.contains(kind) ? "J" : "N")});
        values.append({QStringLiteral("AtrLstBereich"), QVariant(range)});
        setSettings(values);
    }

    QString selection()
    {
        open("Auftrag", "Liste");
        return printroad::salesListSelection();
    }
};

TEST_F(ListFields, TheSelectionJoinsTheChosenKindsAndTheMarkedRange)
{
    freshTables();
    onlyKinds({"AtrLstRG"}, "M");
    EXPECT_EQ(selection(), "((AuftragArt= '4' OR AtrTyp4= 'J')) AND MARK= 'J'");
    data.OpenDBs(false);
    onlyKinds({"AtrLstAL", "AtrLstAG"}, "");
    EXPECT_EQ(selection(), "(AuftragArt= '0') OR (AuftragArt= '1' OR AtrTyp1= 'J')");
}

TEST_F(ListFields, TheRepresentativeAndThePeriodArePastedAsQuotedLiterals)
{
    freshTables();
    setSettings({{"AtrLstVertreter", "J"}, {"AtrLstVertreternr", "20'1"}});
    EXPECT_EQ(selection(), "((((AuftragArt= '4' OR AtrTyp4= 'J') OR (AuftragArt= '5' OR AtrTyp5= 'J')) AND "
                           "Vertreternr= '20''1') AND Datum>='01.10.2026') AND Datum<='31.10.2026'");
}

TEST_F(ListFields, TheOrderListSumsItsDocumentsAndThePaidOnes)
{
    open("Auftrag", "Liste");
    const int limit = define();
    EXPECT_EQ(limit, 9999999);
    EXPECT_EQ(value("Anzahl"), "9999999");
    const QList<DefinitionMap> lines = printRecords(limit);
    ASSERT_EQ(lines.size(), 3) << "the invoices of October";
    expectGolden("Auftrag_Liste_first", lines.first());
    EXPECT_EQ(value("SummeAuftragswert"), "6548,73");
    EXPECT_EQ(value("SummeBezAuftragswertNetto"), "34,37");
    EXPECT_EQ(value("Anzahl"), "0");
    EXPECT_EQ(value("DatumVon"), "01.10.2026");
}

TEST_F(ListFields, NoKindChosenEndsSilentlyAndNoMatchIsReported)
{
    freshTables();
    onlyKinds({}, "");
    open("Auftrag", "Liste");
    EXPECT_EQ(define(), printroad::NothingToPrint);
    EXPECT_TRUE(messages().isEmpty());
    data.OpenDBs(false);
    setSettings({{"AtrLstGS", "J"}, {"AtrLstBereich", "M"}});
    open("Auftrag", "Provisionsliste");
    EXPECT_EQ(define(), printroad::NothingToPrint);
    EXPECT_EQ(messages().join("|").toStdString(), "Keine Aufträge im gewählten Bereich vorhanden!");
}

TEST_F(ListFields, AnAddressLabelShowsTheCustomerUnderThePlainNames)
{
    open("Auftrag", "Etikett", "E", "E", "20260004");
    const int limit = define(true);
    const QList<DefinitionMap> labels = printRecords(limit, true);
    ASSERT_EQ(labels.size(), 1);
    expectGolden("Auftrag_Etikett_20260004", labels.first());
}

TEST_F(ListFields, TheOtherAddressLabelPrefixesThePartner)
{
    open("Bestellung", "EtikettSon", "E", "E", "30260001");
    define(true);
    EXPECT_EQ(value("Lieferant_Name"), "Schrauben-Schäfer GmbH");
    EXPECT_EQ(value("Barcode_KdNr_CODE128_Dick"), "70001");
    EXPECT_FALSE(definitions().contains("V Land-Name")) << "purchase labels have no country name";
}

TEST_F(ListFields, ArticleLabelsCarryPositionArticleAndHead)
{
    open("Auftrag", "EtikettArt", "E", "E", "20260002");
    const int limit = define(true);
    EXPECT_EQ(limit, 999999);
    const QList<DefinitionMap> labels = printRecords(limit, true);
    ASSERT_EQ(labels.size(), 3) << "only the positions of the document";
    expectGolden("Auftrag_EtikettArt_20260002", labels.last());
    EXPECT_EQ(labels.last().value("V Artikel_Bezeichnung").contents, labels.last().value("V Bezeichnung").contents);
}

TEST_F(ListFields, ThePurchaseListNamesTheSupplier)
{
    open("Bestellung", "Liste");
    const QList<DefinitionMap> lines = printRecords(define());
    ASSERT_EQ(lines.size(), 4);
    expectGolden("Bestellung_Liste_first", lines.first());
    EXPECT_EQ(lines.at(1).value("F Lieferant_nr").contents, "70002");
}
