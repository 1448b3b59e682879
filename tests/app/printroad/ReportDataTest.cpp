#include "PrintRoadFixture.h"

#include "app/printroad/ReportData.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>

namespace {

const QList<QPair<TTable **, const char *>> everySlot = {{&tc, "tc"},
                                                         {&tcSetup, "tcSetup"},
                                                         {&tcSetupLoc, "tcSetupLoc"},
                                                         {&tcStSatz, "tcStSatz"},
                                                         {&tcKunden, "tcKunden"},
                                                         {&tcArtikel, "tcArtikel"},
                                                         {&tcLiefer, "tcLiefer"},
                                                         {&tcMitarbei, "tcMitarbei"},
                                                         {&tcKopf, "tcKopf"},
                                                         {&tcPos, "tcPos"},
                                                         {&tcBestell, "tcBestell"},
                                                         {&tcBestPos, "tcBestPos"},
                                                         {&tcOffPos, "tcOffPos"},
                                                         {&tcMahnPara, "tcMahnPara"},
                                                         {&tcUmsatz, "tcUmsatz"},
                                                         {&tcKArtDru, "tcKArtDru"},
                                                         {&tcKontakte, "tcKontakte"},
                                                         {&tcGruppen, "tcGruppen"},
                                                         {&tcLaender, "tcLaender"}};

// Module, form type and kind of every request the print road knows.
const char *const moduleRequests[][3] = {{"Kunden", "Liste", "L"},
                                         {"KunPreis", "Liste", "L"},
                                         {"Ansprech-K", "Liste", "L"},
                                         {"Ansprech-L", "Liste", "L"},
                                         {"Kontakte-K", "Liste", "L"},
                                         {"Kontakte-L", "Liste", "L"},
                                         {"Kontakte-M", "Liste", "L"},
                                         {"ArtPreis", "Liste", "L"},
                                         {"Artikel", "Liste", "L"},
                                         {"Stückliste", "Liste", "L"},
                                         {"Liefer", "Liste", "L"},
                                         {"LfrArt", "Liste", "L"},
                                         {"Mitarbei", "Liste", "L"},
                                         {"MabKun", "Liste", "L"},
                                         {"Auftrag", "Liste", "L"},
                                         {"Auftrag", "Etikett", "E"},
                                         {"Auftrag", "Rechnung", "L"},
                                         {"Auftrag", "EtikettArt", "E"},
                                         {"Bestellung", "Liste", "L"},
                                         {"Bestellung", "Provisionsliste", "L"},
                                         {"Bestellung", "Bestellung", "L"},
                                         {"Lagerbew", "Liste", "L"},
                                         {"Mahnung", "Mahnung", "L"},
                                         {"Offene Posten", "Liste", "L"},
                                         {"Zahlungseingang", "Liste", "L"},
                                         {"Zahlungsausgang", "Liste", "L"},
                                         {"OpoBList", "Liste", "L"},
                                         {"KunAtr", "Liste-A", "L"},
                                         {"KunAtr", "Liste-O", "L"},
                                         {"KunAtr", "Liste-U", "L"},
                                         {"KunArt", "Liste", "L"},
                                         {"ArtKun", "Liste", "L"},
                                         {"ZVBestellform", "Bestellform", "L"},
                                         {"Aufgaben-K", "Liste", "L"},
                                         {"Aufgaben", "Liste", "L"},
                                         {"Gruppen", "Liste", "L"},
                                         {"GrZuord-K", "Liste", "L"},
                                         {"GrZuord-G", "Liste", "L"},
                                         {"Kontakte", "Liste", "L"}};

class ReportDataTest : public PrintRoadFixture
{
protected:
    // The open slots and their tables, e.g. "tc=kunden.db tcSetup=setup.db".
    static QString openSlots()
    {
        QStringList open;
        for (const auto &[slot, name] : everySlot) {
            if (isOpen(*slot))
                open << QString::fromLatin1(name) + QLatin1Char('=') + tableName(*slot);
        }
        return open.join(QLatin1Char(' '));
    }
};

}

TEST_F(ReportDataTest, EveryModuleOpensItsTablesAndClosesThemAll)
{
    QString opened;
    for (const auto &[module, formType, kind] : moduleRequests) {
        request(QString::fromUtf8(module), QString::fromUtf8(formType), QString::fromUtf8(kind), "A", "10001");
        data.OpenDBs(true);
        opened +=
            QStringLiteral("%1 %2: %3\n").arg(QString::fromUtf8(module), QString::fromUtf8(formType), openSlots());
        data.OpenDBs(false);
        EXPECT_EQ(openSlots(), QString()) << module << " " << formType;
    }
    expectGoldenText("ReportData_module_tables", opened);
    EXPECT_TRUE(services.messages().isEmpty());
}

TEST_F(ReportDataTest, RangesAndIndexesFollowTheModule)
{
    request("KunAtr", "Liste-A", "L", "A", "10001");
    data.OpenDBs(true);
    EXPECT_EQ(tc->IndexName(), "ATRKUNNR");
    EXPECT_EQ(tc->RecordCount(), 3);
    for (tc->First(); !tc->Eof(); tc->Next())
        EXPECT_EQ(tc->FieldByName("kundennr")->AsString(), "10001");

    request("Ansprech-K", "Liste", "L", "A", "10001");
    data.OpenDBs(true);
    ASSERT_GT(tc->RecordCount(), 0);
    for (tc->First(); !tc->Eof(); tc->Next()) {
        EXPECT_EQ(tc->FieldByName("Art")->AsString(), "K");
        EXPECT_EQ(tc->FieldByName("Nr")->AsString(), "10001");
    }

    request("ArtPreis", "Liste", "L", "A");
    data.OpenDBs(true);
    EXPECT_EQ(tc->IndexName(), "KUNPREISART");
}

TEST_F(ReportDataTest, UnknownModulesAndBadFormTypesAreReported)
{
    request("Unsinn", QString(), "L", "A");
    data.OpenDBs(true);
    EXPECT_FALSE(isOpen(tc));
    EXPECT_TRUE(isOpen(tcSetup));
    request("KunAtr", "Liste", "L", "A");
    data.OpenDBs(true);
    request("Textbausteine", "Liste", "L", "A");
    data.OpenDBs(true);
    EXPECT_FALSE(isOpen(tcSetup));
    EXPECT_EQ(services.messageTexts(),
              QStringList({"Tintlen:OpenDBs:Modul Unsinn unbekannt", "KunAtr: FilterTyp ungültig",
                           "E-Mailpfad von Kuvertalia wurde nicht angegeben!"}));
}

TEST_F(ReportDataTest, MissingSetupIsForcedOnlyWhereTheModuleNeedsIt)
{
    freshTables();
    ASSERT_TRUE(QFile::remove(ProgramPaths().DatenPfad + "setup.db"));
    request("Kunden", "Liste", "L", "A");
    data.OpenDBs(true);
    EXPECT_EQ(tcSetup, nullptr);
    EXPECT_TRUE(isOpen(tcStSatz));
    data.OpenDBs(false);
    request("Artikel", "Liste", "L", "A");
    EXPECT_THROW(data.OpenDBs(true), EDatabaseError);
    data.OpenDBs(false);
    EXPECT_FALSE(isOpen(tc));
    EXPECT_FALSE(isOpen(tcLiefer));
}

TEST_F(ReportDataTest, OneRecordIsLookedUpByItsKeyAndAMissingOneIsReported)
{
    request("Kunden", "Liste", "L", "E", "10003");
    data.OpenDBs(true);
    TTable *slot = nullptr;
    const int limit = data.GetRecords(slot, QString());
    EXPECT_EQ(slot, tc);
    EXPECT_EQ(tc->FieldByName("nr")->AsString(), "10003");
    EXPECT_EQ(limit, tc->RecNo());
    EXPECT_EQ(data.GetRecords(slot, "nr = '10001'"), 0);
    EXPECT_FALSE(tc->Filtered());

    PrintRequest().Datensatz = "55555";
    slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), printroad::NothingToPrint);
    EXPECT_EQ(services.messageTexts(), QStringList{"tc.findkey(55555) erfolglos"});
    EXPECT_EQ(services.messages().first().caption, "GetRecords");

    // The designer shows the layout with whatever record there is.
    services.clear();
    data.job().designer = true;
    slot = nullptr;
    EXPECT_GT(data.GetRecords(slot, QString()), 0);
    EXPECT_EQ(services.messages().size(), 1);
}

// Only a document's positions leave a missing key to the head; a list or a
// label of a missing document prints nothing, and says nothing.
TEST_F(ReportDataTest, AMissingDocumentIsLeftToItsHeadOnlyWhereThePositionsArePrinted)
{
    const struct
    {
        const char *module;
        const char *formType;
        const char *kind;
        bool leftToHead;
    } cases[] = {{"Auftrag", "Rechnung", "L", true},
                 {"Auftrag", "Liste", "L", false},
                 {"Auftrag", "Adressetikett", "E", false},
                 {"Bestellung", "Anfrage", "L", true},
                 {"Bestellung", "Liste", "L", false}};
    for (const auto &c : cases) {
        services.clear();
        request(c.module, c.formType, c.kind, "E", "99999999");
        data.OpenDBs(true);
        TTable *slot = nullptr;
        const int limit = data.GetRecords(slot, QString());
        if (c.leftToHead) {
            EXPECT_EQ(limit, tc->RecNo()) << c.module << ' ' << c.formType;
            EXPECT_TRUE(services.messages().isEmpty()) << c.module << ' ' << c.formType;
        } else {
            EXPECT_EQ(limit, printroad::NothingToPrint) << c.module << ' ' << c.formType;
            EXPECT_TRUE(services.messages().isEmpty()) << c.module << ' ' << c.formType;
        }
    }
}

TEST_F(ReportDataTest, MarkedDocumentsAreOneRecordButOtherModulesAreNot)
{
    request("Auftrag", "Rechnung", "L", "M", "20260004");
    data.OpenDBs(true);
    TTable *slot = nullptr;
    const int limit = data.GetRecords(slot, QString());
    EXPECT_EQ(tc->FieldByName("auftragnr")->AsString(), "20260004");
    EXPECT_EQ(limit, tc->RecNo());

    request("Kunden", "Liste", "L", "M", "10003");
    PrintRequest().Datenfilter = "Ort = 'München'";
    data.OpenDBs(true);
    slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), printroad::FilteredRecordLimit);
    EXPECT_TRUE(tc->Filtered());
    EXPECT_EQ(tc->RecNo(), 1);
}

TEST_F(ReportDataTest, RecordAndExtraFiltersAreJoined)
{
    request("Auftrag", "Liste", "L", "A");
    PrintRequest().Datenfilter = "kundennr = '10001' OR kundennr = '10005'";
    data.OpenDBs(true);
    TTable *slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, "AuftragArt = '4'"), printroad::FilteredRecordLimit);
    EXPECT_EQ(tc->Filter(), "(kundennr = '10001' OR kundennr = '10005') AND (AuftragArt = '4')");
    QStringList orders;
    for (tc->First(); !tc->Eof(); tc->Next())
        orders << tc->FieldByName("auftragnr")->AsString();
    EXPECT_EQ(orders, QStringList({"20260001", "20260009", "20260010", "20260011", "20260012"}));

    // Without filter the limit is the record count in the requested index.
    PrintRequest().Datenfilter.clear();
    PrintRequest().Datenindex = "ATRKUNNR";
    data.OpenDBs(true);
    slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), tc->RecordCount());
    EXPECT_FALSE(tc->Filtered());
    EXPECT_EQ(tc->RecNo(), 1);
    EXPECT_EQ(tc->FieldByName("kundennr")->AsString(), "10001");
}

TEST_F(ReportDataTest, ValuesPastedIntoFiltersAreQuoted)
{
    EXPECT_EQ(printroad::ReportData::filterLiteral("10001"), "'10001'");
    EXPECT_EQ(printroad::ReportData::filterLiteral("O'Brien' OR 'x'='x"), "'O''Brien'' OR ''x''=''x'");

    request("Kunden", "Liste", "L", "A");
    data.OpenDBs(true);
    TTable *slot = nullptr;
    TTable *seen = nullptr;
    data.setStoredCriteriaStep([&seen](TTable *table) {
        seen = table;
        return true;
    });
    data.GetRecords(slot, "nr = " + printroad::ReportData::filterLiteral("1' OR nr<>'"));
    EXPECT_TRUE(tc->Eof());
    EXPECT_EQ(seen, tc) << "stored criteria run before the filter is set";
}

TEST_F(ReportDataTest, GroupMembersAreLookedUpByCustomerAndGroup)
{
    request("GrZuord-G", "Liste", "L", "E", "STAMM");
    PrintRequest().Datensatz1 = "10005";
    data.OpenDBs(true);
    TTable *slot = nullptr;
    EXPECT_GT(data.GetRecords(slot, QString()), 0);
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(tc->FieldByName("Nr")->AsString(), "10005");
    EXPECT_EQ(tc->FieldByName("Gruppe")->AsString(), "STAMM");
}

TEST_F(ReportDataTest, AModuleWithoutItsMainTableHasNothingToPrint)
{
    request("Kunden", "Liste", "L", "A");
    data.OpenDBs(true);
    request("Textbausteine", "Liste", "L", "A");
    data.OpenDBs(true);
    TTable *slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), printroad::NothingToPrint);
    EXPECT_EQ(slot, nullptr);
}
