#include "DbFixture.h"

#include "platform/db/TField.h"
#include "platform/db/TQuery.h"
#include "platform/os/FileCopy.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <functional>

namespace {

class ValidityChecksTest : public DbFixture
{
protected:
    void SetUp() override
    {
        auto kunden = table(QStringLiteral("Kunden.db"));
        kunden->FieldDefs()->AddParadox(QStringLiteral("Nr"), QStringLiteral("I"));
        kunden->FieldDefs()->AddParadox(QStringLiteral("plz"), QStringLiteral("A10"));
        kunden->FieldDefs()->AddParadox(QStringLiteral("Telefon"), QStringLiteral("A25"));
        kunden->IndexDefs()->Add(QString(), QStringLiteral("Nr"), ixPrimary | ixUnique);
        kunden->ValidityCheckDefs() = checks;
        kunden->CreateTable();
        kunden->Open();
        for (int nr = 1; nr <= 3; ++nr) {
            kunden->Append();
            kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(nr);
            kunden->FieldByName(QStringLiteral("plz"))->SetAsString(QStringLiteral("8033%1").arg(nr));
            kunden->Post();
        }
    }

    static std::string checkText(const QVector<db::ValidityCheck> &read)
    {
        QStringList parts;
        for (const db::ValidityCheck &check : read)
            parts << check.fieldName + QLatin1Char('=') + check.picture;
        return parts.join(QLatin1Char(' ')).toStdString();
    }

    // Another program rebuilds the table under its old name, as SQLite's
    // own tools do for a change of columns: the table's schema entry then
    // comes after the validity checks'.
    void rebuildByAnotherProgram(const QString &file)
    {
        sqlite3 *handle = nullptr;
        sqlite3_open(QFile::encodeName(path(file)).constData(), &handle);
        sqlite3_exec(handle,
                     "CREATE TABLE neu AS SELECT * FROM Kunden; DROP TABLE Kunden; "
                     "ALTER TABLE neu RENAME TO Kunden",
                     nullptr, nullptr, nullptr);
        sqlite3_close(handle);
    }

    const QVector<db::ValidityCheck> checks{{QStringLiteral("Telefon"), QStringLiteral("{+,0}*#")},
                                            {QStringLiteral("PLZ"), QStringLiteral("#####")}};
};

}

TEST_F(ValidityChecksTest, ChecksTravelWithTheFileAndStayOutOfItsFieldsAndRows)
{
    const struct
    {
        const char *way;
        const char *file;
        std::function<void()> move;
    } ways[] = {
        {"as created", "Kunden.db", [] {}},
        {"copied", "Kopie.db",
         [this] { EXPECT_EQ(os::copyFile(path("Kunden.db"), path("Kopie.db")).error, os::CopyError::None); }},
        {"renamed", "Umbenannt.db", [this] { EXPECT_TRUE(QFile::rename(path("Kunden.db"), path("Umbenannt.db"))); }},
        {"rebuilt by another program", "Kunden.db", [this] { rebuildByAnotherProgram("Kunden.db"); }},
        {"emptied", "Kunden.db", [this] { table("Kunden.db")->EmptyTable(); }},
    };
    for (const auto &way : ways) {
        SetUp();
        way.move();
        auto moved = table(QString::fromLatin1(way.file));
        EXPECT_EQ(checkText(moved->ReadValidityChecks()), "plz=##### Telefon={+,0}*#") << way.way << " (closed)";
        moved->Open();
        EXPECT_EQ(checkText(moved->ReadValidityChecks()), "plz=##### Telefon={+,0}*#") << way.way;
        QStringList fields;
        for (const TFieldDef &def : moved->FieldDefs()->items())
            fields << def.Name;
        EXPECT_EQ(fields.join(QLatin1Char(' ')).toStdString(), "Nr plz Telefon") << way.way;
        EXPECT_EQ(moved->RecordCount(), QByteArray(way.way) == "emptied" ? 0 : 3) << way.way;
    }
    TQuery query;
    query.SetDatabaseName(folder());
    query.SetSQL({QStringLiteral("SELECT * FROM Kunden")});
    query.Open();
    EXPECT_EQ(query.FieldCount(), 3);
}

TEST_F(ValidityChecksTest, FilesWithoutChecksAndChecksOnUnknownFieldsAreHandled)
{
    auto old = table(QStringLiteral("Alt.db"));
    old->FieldDefs()->AddParadox(QStringLiteral("plz"), QStringLiteral("A10"));
    old->CreateTable();
    EXPECT_TRUE(old->ReadValidityChecks().isEmpty());
    old->Open();
    EXPECT_TRUE(old->ReadValidityChecks().isEmpty());
    old->Close();

    auto wrong = table(QStringLiteral("Falsch.db"));
    wrong->FieldDefs()->AddParadox(QStringLiteral("plz"), QStringLiteral("A10"));
    wrong->ValidityCheckDefs() = {{QStringLiteral("Ort"), QStringLiteral("&*?")}};
    try {
        wrong->CreateTable();
        ADD_FAILURE() << "a check on a missing field was written";
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.Message(), "Gültigkeitsprüfung: Feld 'Ort' nicht gefunden.");
    }
    EXPECT_FALSE(wrong->Exists());
    EXPECT_THROW(table(QStringLiteral("Fehlt.db"))->ReadValidityChecks(), EDBEngineError);
}
