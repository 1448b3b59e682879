#include "TextPrinting.h"

#include "demo/tables/DemoTables.h"
#include "lib/data/Qktable.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

// The pictures the demo's table files keep among their validity checks.
class TablePictures : public testing::Test
{
protected:
    void SetUp() override { demo::writeTable("Kunden.db", own.path()); }
    std::unique_ptr<TqkTable> table(const QString &name, TTableType type = ttDefault)
    {
        auto table = std::make_unique<TqkTable>();
        table->SetDatabaseName(own.path());
        table->SetTableName(name);
        table->SetTableType(type);
        return table;
    }
    void sqlite(const char *file, const char *sql)
    {
        sqlite3 *handle = nullptr;
        sqlite3_open(QFile::encodeName(own.filePath(file)).constData(), &handle);
        sqlite3_exec(handle, sql, nullptr, nullptr, nullptr);
        sqlite3_close(handle);
    }
    QTemporaryDir own;
};

TEST_F(TablePictures, PostRefusesAValueThatBreaksTheTablesOwnPicture)
{
    const struct
    {
        const char *field;
        const char *value;
        bool validate;
        bool posts;
    } cases[] = {
        {"plz", "1060", true, true},       {"plz", "803", true, false},
        {"plz", "", true, true},           {"Telefon", "+43 1 597 33 21", true, true},
        {"Telefax", "089 x", true, false}, {"plz", "803", false, true},
    };
    for (const auto &c : cases) {
        auto customers = table("Kunden");
        customers->SetValidateWithMask(c.validate);
        customers->Open();
        customers->Edit();
        customers->FieldByName(c.field)->SetAsString(c.value);
        try {
            customers->Post();
            EXPECT_TRUE(c.posts) << c.value << " was posted";
        } catch (const EDatabaseError &error) {
            EXPECT_FALSE(c.posts) << c.value;
            EXPECT_EQ(error.Message(), QStringLiteral("Invalid characters. Field : ") + c.field);
        }
    }
}

TEST_F(TablePictures, PicturesTravelWithTheFileAndStayOutOfItsFieldsAndRows)
{
    const struct
    {
        const char *way;
        const char *file;
        std::function<void()> move;
        const char *picture;
    } ways[] = {
        {"renamed", "Neu.db", [this] { QFile::rename(own.filePath("Kunden.db"), own.filePath("Neu.db")); }, "####[#]"},
        // SQLite's own tools rebuild a table this way: it then stands after
        // the validity checks in the file.
        {"rebuilt by another program", "Kunden.db",
         [this] {
             sqlite("Kunden.db", "CREATE TABLE neu AS SELECT * FROM Kunden; DROP TABLE Kunden; "
                                 "ALTER TABLE neu RENAME TO Kunden");
         },
         "####[#]"},
        {"written before pictures were kept", "Kunden.db",
         [this] { sqlite("Kunden.db", "DROP TABLE \"$ValidityChecks\""); }, ""},
    };
    for (const auto &way : ways) {
        SetUp();
        way.move();
        auto moved = table(way.file);
        moved->Open();
        EXPECT_EQ(moved->GetFieldPicture("plz"), way.picture) << way.way;
        EXPECT_EQ(moved->FieldCount(), 16) << way.way;
        EXPECT_EQ(moved->RecordCount(), 8) << way.way;
    }
}

TEST_F(TablePictures, OnlyTheSuitesTableTypeKeepsPictures)
{
    ASSERT_TRUE(QFile::copy(own.filePath("Kunden.db"), own.filePath("Kunden.dat")));
    EXPECT_EQ(table("KUNDEN.DB")->GetFieldPicture("Telefon"), "{+,0}*{#, ,-,/}");
    EXPECT_EQ(table("Kunden.dat", ttParadox)->GetFieldPicture("plz"), "####[#]");
    EXPECT_EQ(table("Kunden.dat")->GetFieldPicture("plz"), "");
    EXPECT_EQ(table("Kunden.db", ttDBase)->GetFieldPicture("plz"), "");
    EXPECT_EQ(table("Kunden")->GetFieldPicture("PLZ"), "") << "the field is named exactly";
    EXPECT_EQ(table("Fehlt")->GetFieldPicture("plz"), "");
}
