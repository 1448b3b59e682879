#include "ModuleFieldsFixture.h"

#include "platform/db/TField.h"
#include "platform/os/IniFile.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/Conversions.h"

#include <QRegularExpression>

#include <tuple>

class MasterDataFields : public ModuleFieldsTest
{
protected:
    QList<DefinitionMap> printAll(const QString &module, const QString &key = {}, const QString &range = "A")
    {
        open(module, "Liste", "L", range, key);
        const int limit = define();
        return limit > 0 ? printRecords(limit) : QList<DefinitionMap>{};
    }
};

TEST_F(MasterDataFields, ACustomerListOffersCountryNameAndBarcodes)
{
    const QList<DefinitionMap> lines = printAll("Kunden");
    ASSERT_GE(lines.size(), 7);
    expectGolden("Kunden_Liste_first", lines.first());
}

TEST_F(MasterDataFields, TheArticleListAddsTheInventoryValueOnceAndPerPriceUnit)
{
    const QList<DefinitionMap> lines = printAll("Artikel");
    ASSERT_EQ(lines.size(), 16);
    expectGolden("Artikel_Liste_first", lines.first());
    EXPECT_EQ(value("SummeInventur"), "7592,8") << "the first article is not counted twice";
}

TEST_F(MasterDataFields, ABillOfMaterialDividesByThePriceUnit)
{
    const QList<DefinitionMap> lines = printAll("Stückliste", "1012");
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.first().value("F EKGesamtPreis").contents, "1") << "5 screws at 20 per 100";
    EXPECT_EQ(lines.first().value("F VKGesamtPreis").contents, "1,6");
    expectGolden("Stueckliste_Liste_last", lines.last());
}

// An article that is gone and a period that is not set print empty: never
// the article looked up for the line before, nor the calendar's day zero.
// The line keeps its own article number.
TEST_F(MasterDataFields, WhatIsNotThereIsPrintedEmpty)
{
    freshTables();
    const auto setArticle = [](TTable &line) { line.FieldByName("Artikelnr")->SetAsString("1099"); };
    editRecord(ProgramPaths().DatenPfad + "lagerbew.db", {2}, setArticle);
    editRecord(ProgramPaths().DatenPfad + "artstlst.db", {"1012", "1001"}, setArticle);
    editRecord(ProgramPaths().UserPfad + "setupLoc.db", {}, [](TTable &settings) {
        for (const char *date : {"ArtKunDruckVon", "ArtKunDruckBis"})
            settings.FieldByName(date)->Clear();
    });
    // Module, key, line, and what the line shows: "kind name=contents|...".
    const std::tuple<const char *, const char *, int, QString> cases[] = {
        {"Lagerbew", "", 1,
         "V Barcode_Artikelnr_3of9=|V Barcode_Artikelnr_EAN13=|F Bezeichnung=|F Lagerbew_Artikelnr=1099"},
        {"Stückliste", "1012", 4, "F EKGesamtPreis=|F VKGesamtPreisEuro=|F VKGesamtPreisWae=|F Artikelnr=1099"},
        {"ArtKun", "1004", 0, "V DatumVon=|V DatumBis="},
    };
    for (const auto &[module, key, line, shown] : cases) {
        const QList<DefinitionMap> lines = printAll(module, key);
        ASSERT_GT(lines.size(), line) << module;
        QStringList printed;
        for (const QString &item : shown.split('|')) {
            const QString name = item.section('=', 0, 0);
            printed << name + '=' + lines.at(line).value(name, {{}, 0, "(fehlt)"}).contents;
        }
        EXPECT_EQ(printed.join('|'), shown);
        data.OpenDBs(false);
    }
    EXPECT_EQ(value("SummeMenge"), "4") << "the missing component counts nowhere";
}

TEST_F(MasterDataFields, TheMarginOfASupplierArticleAndOfOneWithoutPurchasePrice)
{
    freshTables();
    editRecord(ProgramPaths().DatenPfad + "Artikel.db", {"1008"},
               [](TTable &article) { article.FieldByName("EkPreis")->SetAsFloat(0); });
    const QList<DefinitionMap> lines = printAll("LfrArt", "70001");
    ASSERT_FALSE(lines.isEmpty());
    for (const DefinitionMap &line : lines) {
        const QString article = line.value("F Artikelnr").contents;
        if (article == "1007") {
            EXPECT_EQ(line.value("F Gewinnspanne").contents, "50");
        }
        if (article == "1008") {
            EXPECT_EQ(line.value("F Gewinnspanne").contents, "") << "no purchase price, no margin";
        }
    }
    EXPECT_EQ(value("Name"), "Schrauben-Schäfer GmbH");
    data.OpenDBs(false);
    engine.calls.clear();
    open("LfrArt", "Etikett", "E", "A", "70001");
    define(true);
    EXPECT_EQ(definitions().value("F Gewinnspanne").type, report::LL_NUMERIC) << "a field on labels too";
}

TEST_F(MasterDataFields, ContactsShowTheirRunningDurationAndAverage)
{
    const QList<DefinitionMap> lines = printAll("Kontakte-K", "10001");
    ASSERT_EQ(lines.size(), 4);
    QStringList shown;
    for (const DefinitionMap &line : lines)
        shown << line.value("V SummeDauer").contents + "/" + line.value("V Durchschnitt").contents;
    EXPECT_EQ(shown, QStringList({"45/45", "60/30", "150/50", "160/40"}));
    EXPECT_EQ(value("Name"), "Müller & Söhne GmbH");
    expectGolden("Kontakte-K_Liste_second", lines.at(1));
}

TEST_F(MasterDataFields, AReceiptOfTwelveUnitsPrintsTwelveLabels)
{
    open("Lagerbew", "Etikett", "E", "E", "1");
    define(true);
    EXPECT_EQ(data.job().copies, 12);
    expectGolden("Lagerbew_Etikett_1", definitions());
}

TEST_F(MasterDataFields, TheCustomerStatisticsLeavesOutTheChosenArticlesWhenAskedTo)
{
    freshTables();
    editRecord(ProgramPaths().UserPfad + "setupLoc.db", {},
               [](TTable &settings) { settings.FieldByName("KunArtDruckJN")->SetAsString("N"); });
    const QList<DefinitionMap> lines = printAll("KunArt", "10001");
    const QStringList chosen = {"1004", "1007", "1011", "1013"};
    int printed = 0;
    for (const DefinitionMap &line : lines) {
        const QString article = line.value("F Artikelnr").contents;
        if (article.isEmpty() || article.trimmed().isEmpty())
            continue;
        ++printed;
        EXPECT_FALSE(chosen.contains(article)) << article.toStdString();
    }
    EXPECT_GT(printed, 10);
    EXPECT_EQ(value("DatumVon"), "01.01.2026");
}

// Without a period set, every invoiced document counts.
TEST_F(MasterDataFields, TheArticleStatisticsNamesTheBuyersOfTheArticle)
{
    freshTables();
    for (const bool period : {true, false}) {
        if (!period)
            editRecord(ProgramPaths().UserPfad + "setupLoc.db", {}, [](TTable &settings) {
                settings.FieldByName("ArtKunDruckVon")->Clear();
                settings.FieldByName("ArtKunDruckBis")->Clear();
            });
        const QList<DefinitionMap> lines = printAll("ArtKun", "1004");
        QStringList buyers;
        for (const DefinitionMap &line : lines) {
            if (!line.value("F Kunde_nr").contents.isEmpty())
                buyers << line.value("F Kunde_nr").contents;
        }
        EXPECT_TRUE(buyers.contains("10001")) << buyers.join(",").toStdString() << " of " << lines.size();
        EXPECT_TRUE(buyers.contains("10005")) << "a credit note counts as well";
        EXPECT_FALSE(buyers.contains("10002")) << "an order confirmation has no invoice date";
        EXPECT_EQ(value("Bezeichnung"), "Akku-Bohrschrauber 18 V");
        data.OpenDBs(false);
    }
}

TEST_F(MasterDataFields, PricesOfACustomerAreFilteredByAQuotedKey)
{
    const QList<DefinitionMap> lines = printAll("KunPreis", "10001");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(value("Name"), "Müller & Söhne GmbH");
    EXPECT_EQ(lines.at(1).value("F Artikel_Bezeichnung").contents, "Akku-Bohrschrauber 18 V");
    data.OpenDBs(false);
    EXPECT_TRUE(printAll("KunPreis", "10001' OR Kundennr<>'").isEmpty()) << "the key stays one value";
}

TEST_F(MasterDataFields, GroupAssignmentsOfAGroupTakeTheKeyPair)
{
    open("GrZuord-G", "Liste", "L", "A", "HANDWERK");
    PrintRequest().Datensatz1 = "10005";
    data.OpenDBs(false);
    data.OpenDBs(true);
    const QList<DefinitionMap> lines = printRecords(define());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.first().value("F GrZuord_Nr").contents, "10001");
    EXPECT_EQ(lines.first().value("F Gruppe_Bezeichnung").contents, "Handwerksbetriebe");
    EXPECT_EQ(lines.last().value("F Name").contents, "Straßenbau Günther KG");
}

TEST_F(MasterDataFields, TheOrderFormPrintsOnceWithItsStamp)
{
    open("ZVBestellform", "Bestellform");
    EXPECT_EQ(define(), 1);
    EXPECT_TRUE(definitions().contains("V dmy"));
    EXPECT_TRUE(definitions().contains("V Firmenabsender"));
}

TEST_F(MasterDataFields, ContactPersonsOfASupplierBringTheSupplier)
{
    const QList<DefinitionMap> lines = printAll("Ansprech-L", "70003");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.first().value("F FreiFeld01").contents, lines.first().value("F FreiFeld1").contents);
    expectGolden("Ansprech-L_Liste_70003", lines.first());
}

TEST_F(MasterDataFields, TasksGroupsAndTextBlocksAreOfferedAsListFields)
{
    const QList<DefinitionMap> tasks = printAll("Aufgaben");
    ASSERT_EQ(tasks.size(), 5);
    EXPECT_EQ(tasks.first().value("F Kunde_Name").contents, "Müller & Söhne GmbH");
    EXPECT_EQ(tasks.first().value("F Kontakt_Betreff").contents, "Jahresgespräch");
    data.OpenDBs(false);
    EXPECT_EQ(printAll("Gruppen").size(), 4);
    EXPECT_TRUE(definitions().contains("F Bezeichnung"));
}

namespace {

// Module, form type, range and key of one printed line of each module:
// the known record after its later call.
const QList<QStringList> moduleCases = dataRows(QStringLiteral("module_first_lines"));

}

class EveryModule : public MasterDataFields, public ::testing::WithParamInterface<QStringList>
{};

TEST_P(EveryModule, DefinesItsKnownFirstLineExactly)
{
    const QStringList &c = GetParam();
    open(c.value(0), c.value(1), "L", c.value(2), c.value(3));
    const int limit = define();
    ASSERT_GT(limit, 0) << messages().join("|").toStdString();
    const QList<DefinitionMap> lines = printRecords(limit);
    ASSERT_FALSE(lines.isEmpty());
    expectGolden(QStringLiteral("%1_%2_first").arg(c.value(0), c.value(1)), lines.first());
    EXPECT_TRUE(messages().isEmpty()) << messages().join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Modules, EveryModule, ::testing::ValuesIn(moduleCases),
                         [](const ::testing::TestParamInfo<QStringList> &paramInfo) {
                             return QString(paramInfo.param.value(0) + paramInfo.param.value(1))
                                 .remove(QRegularExpression("[^A-Za-z0-9]"))
                                 .toStdString();
                         });

TEST_F(MasterDataFields, TextBlocksWithoutTheMailProgramsPathPrintNothing)
{
    ProgramPaths().DatenpfadQRB.clear();
    open("Textbausteine", "Liste");
    EXPECT_EQ(define(), printroad::NothingToPrint);
    EXPECT_EQ(messages().join("|").toStdString(), "E-Mailpfad von Kuvertalia wurde nicht angegeben!");
}

TEST_F(MasterDataFields, TheCustomersTotalsAndTheFormStampComeFromTheRequestSection)
{
    TIniFile ini(scratchPath("Tintlen.ini"));
    ini.WriteString("KunAtr", "SummeRechnungen", "7.249,66");
    ini.WriteString("KunAtr", "SummeZahlbetrag", "500");
    ini.WriteString("ZVBestellform", "dmy", "November 2026");
    open("KunAtr", "Liste-A", "L", "A", "10005");
    define();
    EXPECT_EQ(definitions().value("F SummeRechnungen").contents, "7.249,66");
    EXPECT_EQ(definitions().value("V SummeZahlbetrag").type, report::LL_NUMERIC);
    EXPECT_EQ(value("SummeOffenerBetrag"), "");
    data.OpenDBs(false);
    open("ZVBestellform", "Bestellform");
    define();
    EXPECT_EQ(value("dmy"), "November 2026");
}
