#include "PrintRoadFixture.h"

#include "app/printroad/ReportData.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>

namespace {

struct ModuleTables
{
    QString module;
    QString formType;
    QString kind;
    QString tcFile;
    QList<QPair<TTable **, QString>> others;
};

TTable **const everySlot[] = {&tc,        &tcSetup,   &tcSetupLoc, &tcStSatz,   &tcKunden, &tcArtikel, &tcLiefer,
                              &tcMitarbei, &tcKopf,    &tcPos,      &tcBestell,  &tcBestPos, &tcOffPos, &tcMahnPara,
                              &tcUmsatz,  &tcKArtDru, &tcKontakte, &tcGruppen, &tcLaender};

const QList<ModuleTables> &moduleRows()
{
    static const QList<ModuleTables> rows = {
        {"Kunden", "Liste", "L", "kunden.db", {{&tcLaender, "laender.db"}}},
        {"KunPreis", "Liste", "L", "kunPreis.db", {{&tcKunden, "kunden.db"}, {&tcArtikel, "artikel.db"}}},
        {"Ansprech-K", "Liste", "L", "ansprech.db", {{&tcKunden, "kunden.db"}}},
        {"Ansprech-L", "Liste", "L", "ansprech.db", {{&tcLiefer, "liefer.db"}}},
        {"Kontakte-K", "Liste", "L", "kontakte.db", {{&tcKunden, "kunden.db"}}},
        {"Kontakte-L", "Liste", "L", "kontakte.db", {{&tcLiefer, "liefer.db"}}},
        {"Kontakte-M", "Liste", "L", "kontakte.db", {{&tcMitarbei, "mitarbei.db"}}},
        {"ArtPreis", "Liste", "L", "kunPreis.db", {{&tcArtikel, "artikel.db"}, {&tcKunden, "kunden.db"}}},
        {"Artikel", "Liste", "L", "artikel.db", {{&tcLiefer, "liefer.db"}}},
        {"Stückliste", "Liste", "L", "artstlst.db", {{&tcArtikel, "artikel.db"}}},
        {"Liefer", "Liste", "L", "liefer.db", {{&tcLaender, "laender.db"}}},
        {"LfrArt", "Liste", "L", "artikel.db", {{&tcLiefer, "liefer.db"}}},
        {"Mitarbei", "Liste", "L", "mitarbei.db", {{&tcLaender, "laender.db"}}},
        {"MabKun", "Liste", "L", "mabkun.db",
         {{&tcMitarbei, "mitarbei.db"}, {&tcKunden, "kunden.db"}, {&tcLaender, "laender.db"}}},
        {"Auftrag", "Liste", "L", "auftrag.db",
         {{&tcPos, "atrpos.db"}, {&tcLaender, "laender.db"}, {&tcKunden, "kunden.db"}, {&tcArtikel, "artikel.db"},
          {&tcMitarbei, "mitarbei.db"}, {&tcOffPos, "offpos.db"}}},
        {"Auftrag", "Etikett", "E", "auftrag.db",
         {{&tcPos, "atrpos.db"}, {&tcLaender, "laender.db"}, {&tcKunden, "kunden.db"}, {&tcArtikel, "artikel.db"},
          {&tcMitarbei, "mitarbei.db"}, {&tcOffPos, "offpos.db"}}},
        {"Auftrag", "Rechnung", "L", "atrpos.db",
         {{&tcKopf, "auftrag.db"}, {&tcKunden, "kunden.db"}, {&tcArtikel, "artikel.db"},
          {&tcMitarbei, "mitarbei.db"}, {&tcOffPos, "offpos.db"}}},
        {"Auftrag", "EtikettArt", "E", "atrpos.db",
         {{&tcKopf, "auftrag.db"}, {&tcKunden, "kunden.db"}, {&tcArtikel, "artikel.db"},
          {&tcMitarbei, "mitarbei.db"}, {&tcOffPos, "offpos.db"}}},
        {"Bestellung", "Liste", "L", "bestell.db",
         {{&tcBestPos, "bestpos.db"}, {&tcOffPos, "offposBe.db"}, {&tcArtikel, "artikel.db"}, {&tcLiefer, "liefer.db"}}},
        {"Bestellung", "Provisionsliste", "L", "bestpos.db",
         {{&tcBestell, "bestell.db"}, {&tcOffPos, "offposBe.db"}, {&tcArtikel, "artikel.db"}, {&tcLiefer, "liefer.db"}}},
        {"Bestellung", "Bestellung", "L", "bestpos.db",
         {{&tcBestell, "bestell.db"}, {&tcOffPos, "offposBe.db"}, {&tcArtikel, "artikel.db"}, {&tcLiefer, "liefer.db"}}},
        {"Lagerbew", "Liste", "L", "lagerbew.db", {{&tcArtikel, "artikel.db"}, {&tcLiefer, "liefer.db"}}},
        {"Mahnung", "Mahnung", "L", "offposMa.db",
         {{&tcOffPos, "offpos.db"}, {&tcKunden, "kunden.db"}, {&tcMahnPara, "MahnPara.db"}}},
        {"Offene Posten", "Liste", "L", "offpos.db",
         {{&tcKunden, "kunden.db"}, {&tcKopf, "auftrag.db"}, {&tcUmsatz, "umsatz.db"}}},
        {"Zahlungseingang", "Liste", "L", "umsatz.db", {{&tcKunden, "kunden.db"}, {&tcKopf, "auftrag.db"}}},
        {"Zahlungsausgang", "Liste", "L", "UmsatzBe.db", {{&tcKunden, "liefer.db"}, {&tcKopf, "bestell.db"}}},
        {"OpoBList", "Liste", "L", "offposbe.db", {{&tcBestell, "bestell.db"}, {&tcLiefer, "liefer.db"}}},
        {"KunAtr", "Liste-A", "L", "Auftrag.db", {{&tcKunden, "kunden.db"}}},
        {"KunAtr", "Liste-O", "L", "offpos.db", {{&tcKunden, "kunden.db"}}},
        {"KunAtr", "Liste-U", "L", "Umsatz.db", {{&tcKunden, "kunden.db"}}},
        {"KunArt", "Liste", "L", "AtrPos.db", {{&tcKunden, "kunden.db"}, {&tcKopf, "Auftrag.db"}, {&tcKArtDru, "KArtDru"}}},
        {"ArtKun", "Liste", "L", "AtrPos.db", {{&tcArtikel, "Artikel.db"}, {&tcKunden, "kunden.db"}, {&tcKopf, "Auftrag.db"}}},
        {"ZVBestellform", "Bestellform", "L", "kunden.db", {}},
        {"Aufgaben-K", "Liste", "L", "aufgaben.db", {{&tcKunden, "kunden.db"}, {&tcKontakte, "kontakte.db"}}},
        {"Aufgaben", "Liste", "L", "aufgaben.db", {{&tcKunden, "kunden.db"}, {&tcKontakte, "kontakte.db"}}},
        {"Gruppen", "Liste", "L", "gruppen.db", {}},
        {"GrZuord-K", "Liste", "L", "GrZuord.db", {{&tcGruppen, "gruppen.db"}, {&tcKunden, "kunden.db"}}},
        {"GrZuord-G", "Liste", "L", "GrZuord.db", {{&tcKunden, "kunden.db"}, {&tcGruppen, "gruppen.db"}}},
        {"Kontakte", "Liste", "L", "kontakte.db", {{&tcKunden, "kunden.db"}}},
    };
    return rows;
}

class ReportDataTest : public PrintRoadFixture
{
protected:
    int openSlots() const
    {
        int count = 0;
        for (TTable **slot : everySlot)
            count += isOpen(*slot) ? 1 : 0;
        return count;
    }
};

}

TEST_F(ReportDataTest, EveryModuleOpensItsTablesAndClosesThemAll)
{
    for (const ModuleTables &row : moduleRows()) {
        SCOPED_TRACE((row.module + QLatin1Char(' ') + row.formType).toStdString());
        request(row.module, row.formType, row.kind, QStringLiteral("A"), QStringLiteral("10001"));
        data.OpenDBs(true);
        ASSERT_TRUE(isOpen(tc));
        EXPECT_EQ(tableName(tc), row.tcFile);
        for (const auto &[slot, name] : row.others) {
            EXPECT_TRUE(isOpen(*slot)) << name.toStdString();
            EXPECT_EQ(tableName(*slot), name);
        }
        EXPECT_TRUE(isOpen(tcSetup));
        EXPECT_TRUE(isOpen(tcSetupLoc));
        EXPECT_TRUE(isOpen(tcStSatz));
        EXPECT_EQ(openSlots(), 4 + row.others.size());
        data.OpenDBs(false);
        EXPECT_EQ(openSlots(), 0);
    }
    EXPECT_TRUE(services.messages().isEmpty());
}

TEST_F(ReportDataTest, RangesAndIndexesFollowTheModule)
{
    request(QStringLiteral("KunAtr"), QStringLiteral("Liste-A"), QStringLiteral("L"), QStringLiteral("A"),
            QStringLiteral("10001"));
    data.OpenDBs(true);
    EXPECT_EQ(tc->IndexName(), QStringLiteral("ATRKUNNR"));
    EXPECT_EQ(tc->RecordCount(), 3);
    for (tc->First(); !tc->Eof(); tc->Next())
        EXPECT_EQ(tc->FieldByName(QStringLiteral("kundennr"))->AsString(), QStringLiteral("10001"));

    request(QStringLiteral("Ansprech-K"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"),
            QStringLiteral("10001"));
    data.OpenDBs(true);
    ASSERT_GT(tc->RecordCount(), 0);
    for (tc->First(); !tc->Eof(); tc->Next()) {
        EXPECT_EQ(tc->FieldByName(QStringLiteral("Art"))->AsString(), QStringLiteral("K"));
        EXPECT_EQ(tc->FieldByName(QStringLiteral("Nr"))->AsString(), QStringLiteral("10001"));
    }

    request(QStringLiteral("ArtPreis"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    EXPECT_EQ(tc->IndexName(), QStringLiteral("KUNPREISART"));
}

TEST_F(ReportDataTest, UnknownModulesAndBadFormTypesAreReported)
{
    request(QStringLiteral("Unsinn"), QString(), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    EXPECT_FALSE(isOpen(tc));
    EXPECT_TRUE(isOpen(tcSetup));
    request(QStringLiteral("KunAtr"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    request(QStringLiteral("Textbausteine"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    EXPECT_FALSE(isOpen(tcSetup));
    EXPECT_EQ(services.messageTexts(),
              QStringList({QStringLiteral("Tintlen:OpenDBs:Modul Unsinn unbekannt"),
                           QStringLiteral("KunAtr: FilterTyp ungültig"),
                           QStringLiteral("E-Mailpfad von Kuvertalia wurde nicht angegeben!")}));
}

TEST_F(ReportDataTest, MissingSetupIsForcedOnlyWhereTheModuleNeedsIt)
{
    freshTables();
    ASSERT_TRUE(QFile::remove(ProgramPaths().DatenPfad + QStringLiteral("setup.db")));
    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    EXPECT_EQ(tcSetup, nullptr);
    EXPECT_TRUE(isOpen(tcStSatz));
    data.OpenDBs(false);
    request(QStringLiteral("Artikel"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    EXPECT_THROW(data.OpenDBs(true), EDatabaseError);
    data.OpenDBs(false);
    EXPECT_FALSE(isOpen(tc));
    EXPECT_FALSE(isOpen(tcLiefer));
}

TEST_F(ReportDataTest, OneRecordIsLookedUpByItsKeyAndAMissingOneIsReported)
{
    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("E"),
            QStringLiteral("10003"));
    data.OpenDBs(true);
    TTable *slot = nullptr;
    const int limit = data.GetRecords(slot, QString());
    EXPECT_EQ(slot, tc);
    EXPECT_EQ(tc->FieldByName(QStringLiteral("nr"))->AsString(), QStringLiteral("10003"));
    EXPECT_EQ(limit, tc->RecNo());
    EXPECT_EQ(data.GetRecords(slot, QStringLiteral("nr = '10001'")), 0);
    EXPECT_FALSE(tc->Filtered());

    PrintRequest().Datensatz = QStringLiteral("55555");
    slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), printroad::NothingToPrint);
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("tc.findkey(55555) erfolglos")));
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("GetRecords"));

    // The designer shows the layout with whatever record there is.
    services.clear();
    data.job().designer = true;
    slot = nullptr;
    EXPECT_GT(data.GetRecords(slot, QString()), 0);
    EXPECT_EQ(services.messages().size(), 1);
}

TEST_F(ReportDataTest, MarkedDocumentsAreOneRecordButOtherModulesAreNot)
{
    request(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("L"), QStringLiteral("M"),
            QStringLiteral("20260004"));
    data.OpenDBs(true);
    TTable *slot = nullptr;
    const int limit = data.GetRecords(slot, QString());
    EXPECT_EQ(tc->FieldByName(QStringLiteral("auftragnr"))->AsString(), QStringLiteral("20260004"));
    EXPECT_EQ(limit, tc->RecNo());

    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("M"),
            QStringLiteral("10003"));
    PrintRequest().Datenfilter = QStringLiteral("Ort = 'München'");
    data.OpenDBs(true);
    slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), printroad::FilteredRecordLimit);
    EXPECT_TRUE(tc->Filtered());
    EXPECT_EQ(tc->RecNo(), 1);
}

TEST_F(ReportDataTest, RecordAndExtraFiltersAreJoined)
{
    request(QStringLiteral("Auftrag"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    PrintRequest().Datenfilter = QStringLiteral("kundennr = '10001' OR kundennr = '10005'");
    data.OpenDBs(true);
    TTable *slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QStringLiteral("AuftragArt = '4'")), printroad::FilteredRecordLimit);
    EXPECT_EQ(tc->Filter(),
              QStringLiteral("(kundennr = '10001' OR kundennr = '10005') AND (AuftragArt = '4')"));
    QStringList orders;
    for (tc->First(); !tc->Eof(); tc->Next())
        orders << tc->FieldByName(QStringLiteral("auftragnr"))->AsString();
    EXPECT_EQ(orders, QStringList({"20260001", "20260009", "20260010", "20260011", "20260012"}));

    // Without filter the limit is the record count in the requested index.
    PrintRequest().Datenfilter.clear();
    PrintRequest().Datenindex = QStringLiteral("ATRKUNNR");
    data.OpenDBs(true);
    slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), tc->RecordCount());
    EXPECT_FALSE(tc->Filtered());
    EXPECT_EQ(tc->RecNo(), 1);
    EXPECT_EQ(tc->FieldByName(QStringLiteral("kundennr"))->AsString(), QStringLiteral("10001"));
}

TEST_F(ReportDataTest, ValuesPastedIntoFiltersAreQuoted)
{
    EXPECT_EQ(printroad::ReportData::filterLiteral(QStringLiteral("10001")), QStringLiteral("'10001'"));
    EXPECT_EQ(printroad::ReportData::filterLiteral(QStringLiteral("O'Brien' OR 'x'='x")),
              QStringLiteral("'O''Brien'' OR ''x''=''x'"));

    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    TTable *slot = nullptr;
    TTable *seen = nullptr;
    data.setStoredCriteriaStep([&seen](TTable *table) {
        seen = table;
        return true;
    });
    data.GetRecords(slot, QStringLiteral("nr = ") + printroad::ReportData::filterLiteral(QStringLiteral("1' OR nr<>'")));
    EXPECT_TRUE(tc->Eof());
    EXPECT_EQ(seen, tc) << "stored criteria run before the filter is set";
}

TEST_F(ReportDataTest, GroupMembersAreLookedUpByCustomerAndGroup)
{
    request(QStringLiteral("GrZuord-G"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("E"),
            QStringLiteral("STAMM"));
    PrintRequest().Datensatz1 = QStringLiteral("10005");
    data.OpenDBs(true);
    TTable *slot = nullptr;
    EXPECT_GT(data.GetRecords(slot, QString()), 0);
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(tc->FieldByName(QStringLiteral("Nr"))->AsString(), QStringLiteral("10005"));
    EXPECT_EQ(tc->FieldByName(QStringLiteral("Gruppe"))->AsString(), QStringLiteral("STAMM"));
}

TEST_F(ReportDataTest, AModuleWithoutItsMainTableHasNothingToPrint)
{
    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    request(QStringLiteral("Textbausteine"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    data.OpenDBs(true);
    TTable *slot = nullptr;
    EXPECT_EQ(data.GetRecords(slot, QString()), printroad::NothingToPrint);
    EXPECT_EQ(slot, nullptr);
}

TEST(PendingWritesTest, AWriteGivenAgainReplacesTheEarlierOneAndRunsOnce)
{
    printroad::PendingWrites writes;
    QStringList done;
    writes.defer(QStringLiteral("posdruck 1"), [&done] { done << QStringLiteral("first copy"); });
    writes.defer(QStringLiteral("posdruck 1"), [&done] { done << QStringLiteral("second copy"); });
    writes.defer(QStringLiteral("Mahnung 10001"), [&done] { done << QStringLiteral("dunning"); });
    writes.commit();
    writes.commit();
    EXPECT_EQ(done, QStringList({"dunning", "second copy"}));
    EXPECT_TRUE(writes.isEmpty());
    writes.defer(QStringLiteral("posdruck 2"), [&done] { done << QStringLiteral("aborted"); });
    writes.discard();
    writes.commit();
    EXPECT_EQ(done.size(), 2);
}
