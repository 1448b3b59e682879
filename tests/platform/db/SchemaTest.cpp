#include "DbFixture.h"

#include "platform/db/FieldClasses.h"
#include "platform/db/TSession.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>

#include <sqlite3.h>

namespace {

class SchemaTest : public DbFixture
{};

TEST_F(SchemaTest, EveryParadoxTypeReadsBackWithItsClassAndSize)
{
    auto all = table(QStringLiteral("Alles.db"));
    const QStringList typeTexts{"A15", "N", "$",    "S",   "I",  "+",  "#4", "L",  "D",
                                "T",   "@", "M240", "F10", "B0", "G0", "O0", "Y16"};
    for (int i = 0; i < typeTexts.size(); ++i)
        all->FieldDefs()->AddParadox(QStringLiteral("F%1").arg(i), typeTexts[i]);
    all->IndexDefs()->Add(QString(), QStringLiteral("F0"), ixPrimary);
    all->CreateTable();
    all->Open();

    const char *classes[] = {"TStringField",   "TFloatField", "TCurrencyField", "TSmallintField", "TIntegerField",
                             "TAutoIncField",  "TBCDField",   "TBooleanField",  "TDateField",     "TTimeField",
                             "TDateTimeField", "TMemoField",  "TBlobField",     "TBlobField",     "TGraphicField",
                             "TBlobField",     "TBytesField"};
    const TFieldType types[] = {ftString,  ftFloat,   ftCurrency, ftSmallint,   ftInteger,  ftAutoInc,
                                ftBCD,     ftBoolean, ftDate,     ftTime,       ftDateTime, ftMemo,
                                ftFmtMemo, ftBlob,    ftGraphic,  ftParadoxOle, ftBytes};
    ASSERT_EQ(all->FieldCount(), typeTexts.size());
    auto closed = table(QStringLiteral("Alles.db"));
    closed->FieldDefs()->Update();
    ASSERT_EQ(closed->FieldDefs()->Count(), typeTexts.size());
    for (int i = 0; i < typeTexts.size(); ++i) {
        EXPECT_STREQ(all->Fields(i)->metaObject()->className(), classes[i]) << i;
        EXPECT_EQ(all->Fields(i)->DataType(), types[i]) << i;
        EXPECT_EQ(closed->FieldDefs()->Items(i).DataType, types[i]) << i;
    }
    EXPECT_EQ(all->FieldByName(QStringLiteral("f0"))->Size(), 15);
    EXPECT_EQ(all->FieldByName(QStringLiteral("F11"))->Size(), 240);
    EXPECT_EQ(all->FieldByName(QStringLiteral("F16"))->Size(), 16);
    EXPECT_TRUE(all->Fields(0)->inherits("TField"));
    EXPECT_TRUE(all->inherits("TBDEDataSet"));
}

TEST_F(SchemaTest, IndexesKeepNamesFieldsAndCaseSensitivity)
{
    createCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    TIndexDefs *indexes = kunden->IndexDefs();
    ASSERT_EQ(indexes->Count(), 3);
    const TIndexDef *primary = indexes->Primary();
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(primary->Fields, QStringLiteral("Nr"));
    EXPECT_TRUE(primary->Options & ixUnique);
    const TIndexDef *byName = indexes->Find(QStringLiteral("nameidx"));
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->Name, QStringLiteral("NameIdx"));
    EXPECT_EQ(byName->Fields, QStringLiteral("Name;Vorname"));
    EXPECT_TRUE(byName->Options & ixCaseInsensitive);
    EXPECT_FALSE(indexes->Find(QStringLiteral("OrtIdx"))->Options & ixCaseInsensitive);
    QStringList names;
    kunden->GetIndexNames(names);
    EXPECT_EQ(names, (QStringList{"NameIdx", "OrtIdx"}));
}

TEST_F(SchemaTest, FileStaysAPlainSqliteDatabaseWithTextKeptAsText)
{
    createCustomers();
    {
        auto kunden = openTable(QStringLiteral("Kunden.db"));
        addCustomer(*kunden, 7, QStringLiteral("007"), QStringLiteral("Ö"), QStringLiteral("€-Stadt"), 1,
                    QStringLiteral("01.01.2000"));
    }
    sqlite3 *handle = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path(QStringLiteral("Kunden.db"))).constData(), &handle,
                              SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt *statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(handle, "SELECT typeof(Name), Name, Ort, Seit FROM Kunden", -1, &statement, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)), "text");
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(statement, 1)), "007");
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(statement, 2)), "€-Stadt");
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(statement, 3)), "2000-01-01");
    sqlite3_finalize(statement);
    sqlite3_close(handle);
}

TEST_F(SchemaTest, TableWrittenByAnotherProgramOpensByAffinity)
{
    sqlite3 *handle = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path(QStringLiteral("fremd.db"))).constData(), &handle), SQLITE_OK);
    sqlite3_exec(handle,
                 "CREATE TABLE fremd (id INTEGER, name VARCHAR(20), preis DECIMAL, bild);"
                 "INSERT INTO fremd VALUES (1, 'Ösen', 2.5, x'00ff');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    auto foreign = openTable(QStringLiteral("fremd"));
    EXPECT_STREQ(foreign->FieldByName(QStringLiteral("id"))->metaObject()->className(), "TIntegerField");
    EXPECT_STREQ(foreign->FieldByName(QStringLiteral("name"))->metaObject()->className(), "TStringField");
    EXPECT_STREQ(foreign->FieldByName(QStringLiteral("preis"))->metaObject()->className(), "TFloatField");
    EXPECT_STREQ(foreign->FieldByName(QStringLiteral("bild"))->metaObject()->className(), "TBlobField");
    EXPECT_EQ(foreign->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Ösen"));
    EXPECT_EQ(foreign->FieldByName(QStringLiteral("bild"))->AsBytes(), QByteArray("\0\xff", 2));
}

TEST_F(SchemaTest, FileNamesResolveWithoutRegardToCase)
{
    createCustomers();
    auto upper = table(QStringLiteral("KUNDEN.DB"));
    upper->Open();
    EXPECT_TRUE(upper->Active());
    auto noExtension = table(QStringLiteral("kunden"));
    noExtension->Open();
    EXPECT_TRUE(noExtension->Active());
    EXPECT_TRUE(noExtension->TableFilePath().endsWith(QStringLiteral("/Kunden.db")));
}

TEST_F(SchemaTest, BadDefinitionsAreRefusedWithoutLeavingAFile)
{
    auto broken = table(QStringLiteral("Kaputt.db"));
    broken->FieldDefs()->AddParadox(QStringLiteral("A"), QStringLiteral("A10"));
    broken->IndexDefs()->Add(QStringLiteral("X"), QStringLiteral("Fehlt"), 0);
    EXPECT_THROW(broken->CreateTable(), EDatabaseError);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Kaputt.db"))));
    EXPECT_THROW(broken->FieldDefs()->AddParadox(QStringLiteral("B"), QStringLiteral("Q")), EDatabaseError);
    EXPECT_THROW(broken->FieldDefs()->AddParadox(QStringLiteral("a"), QStringLiteral("A5")), EDatabaseError);
}

TEST_F(SchemaTest, CorruptOrForeignFileGivesAGermanErrorAndStaysUntouched)
{
    const QByteArray garbage("Dies ist keine Tabelle, sondern Text.\n");
    QFile text(path(QStringLiteral("Text.db")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(garbage);
    text.close();
    auto foreign = table(QStringLiteral("Text.db"));
    try {
        foreign->Open();
        FAIL() << "opened a text file";
    } catch (const EDBEngineError &error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("keine gültige Tabelle")));
    }
    EXPECT_FALSE(foreign->Active());
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), garbage);
    text.close();

    createCustomers();
    QFile file(path(QStringLiteral("Kunden.db")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    for (int i = 100; i < bytes.size(); ++i)
        bytes[i] = char(0xA5);
    file.seek(0);
    file.write(bytes);
    file.close();
    auto damaged = table(QStringLiteral("Kunden.db"));
    EXPECT_THROW(damaged->Open(), EDBEngineError);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
}

TEST_F(SchemaTest, MissingTableNamesTheFile)
{
    auto missing = table(QStringLiteral("Fehlt.db"));
    try {
        missing->Open();
        FAIL();
    } catch (const EDBEngineError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Tabelle 'Fehlt.db' nicht gefunden."));
    }
}

TEST_F(SchemaTest, DatabaseNameMayBeAnAliasFromTheConfigurationFile)
{
    createCustomers();
    const QString config = path(QStringLiteral("aliases.ini"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[Aliases]\nzvdb=%1\n").arg(folder()).toUtf8());
    file.close();
    const QString previous = Session()->ConfigFile();
    Session()->SetConfigFile(config);
    EXPECT_TRUE(Session()->IsAlias(QStringLiteral("ZVDB")));
    QStringList params;
    Session()->GetAliasParams(QStringLiteral("zvdb"), params);
    EXPECT_EQ(params, QStringList{QStringLiteral("PATH=") + folder()});
    TTable viaAlias;
    viaAlias.SetDatabaseName(QStringLiteral("zvdb"));
    viaAlias.SetTableName(QStringLiteral("FORMULAR.DB"));
    EXPECT_THROW(viaAlias.Open(), EDBEngineError);
    viaAlias.SetTableName(QStringLiteral("KUNDEN.DB"));
    viaAlias.Open();
    EXPECT_TRUE(viaAlias.Active());
    Session()->AddPassword(QStringLiteral("geheim"));
    EXPECT_TRUE(Session()->Passwords().contains(QStringLiteral("geheim")));
    Session()->RemovePassword(QStringLiteral("geheim"));
    EXPECT_FALSE(Session()->Passwords().contains(QStringLiteral("geheim")));
    Session()->SetConfigFile(previous);
}

}
