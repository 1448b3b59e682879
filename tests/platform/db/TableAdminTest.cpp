#include "DbFixture.h"

#include "platform/db/SqliteConnection.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TQuery.h"
#include "platform/db/TSession.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>

#include <cstdio>
#include <functional>

namespace {

// Every test starts from the filled customers table.
class TableAdminTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
};

TEST_F(TableAdminTest, EmptyDeleteAndExists)
{
    auto kunden = table(QStringLiteral("kunden"));
    EXPECT_TRUE(kunden->Exists());
    kunden->EmptyTable();
    kunden->Open();
    EXPECT_EQ(kunden->RecordCount(), 0);
    EXPECT_THROW(kunden->DeleteTable(), EDatabaseError);
    kunden->Close();
    kunden->DeleteTable();
    EXPECT_FALSE(kunden->Exists());
    EXPECT_THROW(kunden->DeleteTable(), EDBEngineError);
}

TEST_F(TableAdminTest, CreateTableReplacesAnExistingFileWhole)
{
    auto kunden = table(QStringLiteral("Kunden.db"));
    kunden->FieldDefs()->AddParadox(QStringLiteral("Nr"), QStringLiteral("I"));
    kunden->CreateTable();
    kunden->Open();
    EXPECT_EQ(kunden->FieldCount(), 1);
    EXPECT_EQ(kunden->RecordCount(), 0);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"Kunden.db"});
}

TEST_F(TableAdminTest, ReopeningAfterAnotherProgramReplacedTheFileReadsTheNewFile)
{
    openTable(QStringLiteral("Kunden.db"))->Close();
    createPositions(2, 2);
    openTable(QStringLiteral("atrpos.db"))->Close();
    ASSERT_EQ(std::rename(QFile::encodeName(path(QStringLiteral("atrpos.db"))).constData(),
                          QFile::encodeName(path(QStringLiteral("Kunden.db"))).constData()),
              0);
    auto replaced = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(replaced->RecordCount(), 4);
    EXPECT_NE(replaced->FindField(QStringLiteral("Posnr")), nullptr);
    replaced->Close();
    replaced->DeleteTable();
    EXPECT_THROW(replaced->Open(), EDBEngineError);
}

// Openings keep the connection and what was read of the file; whatever
// another program changed in between must show at the next opening.
TEST_F(TableAdminTest, ReopeningSeesWhatAnotherProgramChangedInBetween)
{
    struct Case
    {
        const char *change;
        std::function<void()> apply;
        std::function<void(TTable &)> check;
    };
    const QString file = path(QStringLiteral("Kunden.db"));
    auto run = [&file](const char *sql) {
        return [&file, sql] { db::Connection::openExisting(file, false)->exec(QString::fromUtf8(sql)); };
    };
    const Case cases[] = {
        {"column added", run("ALTER TABLE Kunden ADD COLUMN Bonus INTEGER"),
         [](TTable &table) {
             EXPECT_EQ(table.FieldCount(), 9);
             ASSERT_NE(table.FindField(QStringLiteral("Bonus")), nullptr);
             EXPECT_TRUE(table.FindField(QStringLiteral("Bonus"))->IsNull());
         }},
        {"column dropped", run("ALTER TABLE Kunden DROP COLUMN Notiz"),
         [](TTable &table) {
             EXPECT_EQ(table.FieldCount(), 7);
             EXPECT_EQ(table.FindField(QStringLiteral("Notiz")), nullptr);
             EXPECT_EQ(table.RecordCount(), 6);
         }},
        {"index added", run("CREATE INDEX UmsatzIdx ON Kunden (Umsatz)"),
         [](TTable &table) {
             QStringList names;
             table.GetIndexNames(names);
             EXPECT_TRUE(names.contains(QStringLiteral("UmsatzIdx")));
         }},
        {"row added", run("INSERT INTO Kunden (Nr, Name) VALUES (9, 'Neu')"),
         [](TTable &table) {
             EXPECT_EQ(table.RecordCount(), 7);
             table.Last();
             EXPECT_EQ(table.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Neu"));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.change);
        fillCustomers();
        for (int opening = 0; opening < 2; ++opening)
            openTable(QStringLiteral("Kunden.db"))->Close();
        c.apply();
        auto reopened = openTable(QStringLiteral("Kunden.db"));
        c.check(*reopened);
    }
}

TEST_F(TableAdminTest, ReopeningAfterAnotherProgramDeletedTheFileFails)
{
    openTable(QStringLiteral("Kunden.db"))->Close();
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("Kunden.db"))));
    auto kunden = table(QStringLiteral("Kunden.db"));
    EXPECT_THROW(kunden->Open(), EDBEngineError);
    EXPECT_FALSE(kunden->Active());
}

TEST_F(TableAdminTest, TimesTimestampsAndBytesRoundTrip)
{
    auto mixed = table(QStringLiteral("Gemischt.db"));
    mixed->FieldDefs()->AddParadox(QStringLiteral("Zeit"), QStringLiteral("T"));
    mixed->FieldDefs()->AddParadox(QStringLiteral("Stempel"), QStringLiteral("@"));
    mixed->FieldDefs()->AddParadox(QStringLiteral("Bild"), QStringLiteral("G"));
    mixed->FieldDefs()->AddParadox(QStringLiteral("Klein"), QStringLiteral("S"));
    mixed->CreateTable();
    mixed->Open();
    mixed->Append();
    mixed->FieldByName(QStringLiteral("Zeit"))->SetAsDateTime(EncodeTime(13, 45, 30, 250));
    mixed->FieldByName(QStringLiteral("Stempel"))->SetAsString(QStringLiteral("24.12.1899 18:00:00"));
    const QByteArray picture("\x89PNG\r\n\x1a\n\0\xff", 10);
    mixed->FieldByName(QStringLiteral("Bild"))->SetAsBytes(picture);
    mixed->FieldByName(QStringLiteral("Klein"))->SetAsString(QStringLiteral("-7"));
    mixed->Post();
    auto again = openTable(QStringLiteral("Gemischt.db"));
    EXPECT_DOUBLE_EQ(again->FieldByName(QStringLiteral("Zeit"))->AsDateTime(), EncodeTime(13, 45, 30, 250));
    EXPECT_EQ(again->FieldByName(QStringLiteral("Stempel"))->AsString(), QStringLiteral("24.12.1899 18:00:00"));
    EXPECT_LT(again->FieldByName(QStringLiteral("Stempel"))->AsDateTime(), 0);
    EXPECT_EQ(again->FieldByName(QStringLiteral("Bild"))->AsBytes(), picture);
    EXPECT_EQ(again->FieldByName(QStringLiteral("Bild"))->DisplayText(), QStringLiteral("(Grafik)"));
    EXPECT_EQ(again->FieldByName(QStringLiteral("Klein"))->AsInteger(), -7);
}

TEST_F(TableAdminTest, NavigationWhileEditingPostsTheChange)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->Edit();
    kunden->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Essen"));
    kunden->Next();
    EXPECT_EQ(kunden->State(), dsBrowse);
    kunden->First();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Essen"));
    kunden->Edit();
    kunden->Next();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
}

TEST_F(TableAdminTest, RefreshSeesWhatAnotherConnectionWrote)
{
    auto reader = openTable(QStringLiteral("Kunden.db"));
    reader->Last();
    auto writer = openTable(QStringLiteral("Kunden.db"));
    addCustomer(*writer, 8, QStringLiteral("Neu"), QString(), QString(), 0, QString());
    reader->Refresh();
    reader->Next();
    EXPECT_EQ(reader->FieldByName(QStringLiteral("Nr"))->AsInteger(), 8);
    EXPECT_EQ(reader->RecordCount(), 7);
}

TEST_F(TableAdminTest, RangeFilterAndCallbackCountTogether)
{
    createPositions(30, 4);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    positions->SetRange({10}, {19});
    positions->SetFilter(QStringLiteral("Posnr > 1"));
    positions->SetOnFilterRecord([](TDataSet *dataSet, bool &accept) {
        accept = dataSet->FieldByName(QStringLiteral("Auftragnr"))->AsInteger() % 2 == 0;
    });
    positions->SetFiltered(true);
    EXPECT_EQ(positions->RecordCount(), 15);
    positions->Last();
    EXPECT_EQ(positions->RecNo(), 15);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 18);
    EXPECT_TRUE(positions->FindKey({12, 3}));
    EXPECT_EQ(positions->RecNo(), 5);
    EXPECT_FALSE(positions->FindKey({13, 3}));
}

TEST_F(TableAdminTest, SessionKeepsAliasesAndWritesThemBack)
{
    const QString config = path(QStringLiteral("aliases.ini"));
    TSession session;
    session.SetConfigFile(config);
    session.AddStandardAlias(QStringLiteral("zvuser"), folder(), QStringLiteral("STANDARD"));
    EXPECT_THROW(session.AddStandardAlias(QStringLiteral("ZVUSER"), folder(), QString()), EDatabaseError);
    session.SaveConfigFile();
    TSession reread;
    reread.SetConfigFile(config);
    QStringList names;
    reread.GetAliasNames(names);
    EXPECT_EQ(names, QStringList{"zvuser"});
    EXPECT_EQ(reread.AliasPath(QStringLiteral("ZVUser")), folder());
    reread.DeleteAlias(QStringLiteral("zvuser"));
    EXPECT_FALSE(reread.IsAlias(QStringLiteral("zvuser")));
    EXPECT_THROW(reread.GetAliasParams(QStringLiteral("zvuser"), names), EDatabaseError);
}

TEST_F(TableAdminTest, DatabaseTransactionsMustPair)
{
    TDatabase database;
    database.SetDatabaseName(QStringLiteral("Daten"));
    database.Params() << (QStringLiteral("PATH=") + folder());
    EXPECT_EQ(database.Directory(), folder());
    EXPECT_THROW(database.Commit(), EDatabaseError);
    database.StartTransaction();
    EXPECT_THROW(database.StartTransaction(), EDatabaseError);
    database.Rollback();
    EXPECT_FALSE(database.InTransaction());
}

}
