#include "demo/tables/DemoTables.h"
#include "demo/tables/MailProgramData.h"
#include "demo/tables/MailProgramFolder.h"
#include "demo/tables/RowCheck.h"
#include "demo/tables/TableCatalog.h"
#include "demo/tables/TableWriter.h"
#include "platform/db/TField.h"
#include "platform/db/TFieldDefs.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTime>

#include <gtest/gtest.h>

#include <memory>

using namespace demo;

namespace {

std::unique_ptr<TTable> openTable(const QString &folder, const QString &name)
{
    auto table = std::make_unique<TTable>();
    table->SetDatabaseName(folder);
    table->SetTableName(name);
    table->Open();
    return table;
}

// The stored value read back through the accessor that fits the field's
// type, so that it compares with the value the demo row holds.
QVariant readBack(const TField *field, QChar type)
{
    if (field->IsNull())
        return QVariant();
    switch (type.toLatin1()) {
    case 'D':
        return ToQDate(field->AsDateTime());
    case 'T':
        return ToQTime(field->AsDateTime());
    case '@':
        return ToQDateTime(field->AsDateTime());
    case 'N':
    case '$':
        return field->AsFloat();
    case 'S':
    case 'I':
    case '+':
        return field->AsInteger();
    case 'L':
        return field->AsBoolean();
    case 'G':
        return field->AsBytes();
    default:
        return field->AsString();
    }
}

bool sameValue(const QVariant &stored, const QVariant &expected, QChar type)
{
    if (!expected.isValid())
        return !stored.isValid();
    if (type == 'N' || type == '$')
        return stored.isValid() && qAbs(stored.toDouble() - expected.toDouble()) < 1e-9;
    if (type == 'S' || type == 'I')
        return stored.toLongLong() == expected.toLongLong();
    return stored == expected;
}

// Compares every record of the table, field by field, with the demo row of
// the same key; returns a description of the first difference.
QString differences(TTable &table, const TableSpec &spec, const Rows &rows)
{
    QHash<QString, Row> expected;
    for (const Row &row : rows)
        expected.insert(keyOf(spec, row), row);
    if (table.RecordCount() != rows.size())
        return QStringLiteral("%1 Datensätze statt %2").arg(table.RecordCount()).arg(rows.size());
    for (table.First(); !table.Eof(); table.Next()) {
        Row stored;
        for (const FieldSpec &field : spec.fields)
            stored.insert(field.name, readBack(table.FieldByName(field.name), field.type));
        const Row want = expected.value(keyOf(spec, stored));
        for (const FieldSpec &field : spec.fields) {
            if (field.type == '+')
                continue;
            if (!sameValue(stored.value(field.name), valueOf(want, field.name), field.type))
                return QStringLiteral("%1, Schlüssel %2: %3 gelesen, %4 erwartet")
                    .arg(field.name, keyOf(spec, stored), stored.value(field.name).toString(),
                         valueOf(want, field.name).toString());
        }
    }
    return QString();
}

class DemoInstallationTables : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        root = new QTemporaryDir();
        options = completedOptions(DemoOptions{QDir(root->path()).filePath("daten"), {}, {}, {}, 0, false, false});
        writeTables(options);
    }
    static void TearDownTestSuite()
    {
        delete root;
        root = nullptr;
    }
    static QTemporaryDir *root;
    static DemoOptions options;
};

QTemporaryDir *DemoInstallationTables::root = nullptr;
DemoOptions DemoInstallationTables::options;

}

TEST_F(DemoInstallationTables, EveryTableReadsBackItsFieldsRowsAndIndexesExactly)
{
    for (const TableSpec &spec : tableCatalog()) {
        SCOPED_TRACE(spec.fileName.toStdString());
        auto table = openTable(tableFolder(spec, options), spec.fileName);
        ASSERT_EQ(table->FieldCount(), spec.fields.size());
        for (int i = 0; i < spec.fields.size(); ++i) {
            const FieldSpec &field = spec.fields.at(i);
            EXPECT_EQ(table->Fields(i)->FieldName(), field.name);
            EXPECT_EQ(table->Fields(i)->DataType(), FieldTypeFromParadox(field.type));
            if (field.type == 'A') {
                EXPECT_EQ(table->Fields(i)->Size(), field.size);
            }
        }
        EXPECT_EQ(differences(*table, spec, demoRows(spec.fileName)), QString());
        for (const IndexSpec &index : spec.indexes) {
            const TIndexDef *stored = table->IndexDefs()->Find(index.name);
            ASSERT_NE(stored, nullptr) << index.name.toStdString();
            EXPECT_EQ(stored->fieldList(), index.fields);
            // Case matters only where the index compares text first.
            if (spec.fields.at(spec.fieldIndex(index.fields.first())).type == 'A') {
                EXPECT_EQ(stored->caseInsensitive(), index.caseInsensitive) << index.name.toStdString();
            }
        }
    }
}

TEST_F(DemoInstallationTables, NamesResolveInAnyCaseToTheMixedCaseFiles)
{
    EXPECT_TRUE(QDir(options.dataFolder).entryList(QDir::Files).contains("Formular.db"));
    EXPECT_FALSE(QDir(options.dataFolder).entryList(QDir::Files).contains("FORMULAR.DB"));
    auto forms = openTable(options.dataFolder, "FORMULAR.DB");
    EXPECT_EQ(forms->RecordCount(), demoRows("Formular.db").size());
    auto positions = openTable(options.dataFolder, "AtrPos");
    EXPECT_GE(positions->RecordCount(), 40);
}

TEST_F(DemoInstallationTables, GoToTheFoldersTheInstallationUses)
{
    const MailProgramPaths mail = mailProgramPaths(options.mailFolder);
    EXPECT_TRUE(QFile::exists(QDir(options.userFolder).filePath("setupLoc.db")));
    EXPECT_TRUE(QFile::exists(QDir(options.aliasFolder).filePath("mabkun.db")));
    EXPECT_TRUE(QFile::exists(QDir(mail.data).filePath("am-Benutzer.db")));
    EXPECT_TRUE(QFile::exists(QDir(mail.user).filePath("MailTrash.db")));
    EXPECT_TRUE(QFile::exists(QDir(mail.mailbox).filePath("MailGesendet.db")));
    EXPECT_FALSE(QFile::exists(QDir(options.dataFolder).filePath("setupLoc.db")));
    EXPECT_TRUE(QDir(options.dataFolder).entryList(QStringList{".demo-*"}, QDir::AllEntries | QDir::Hidden).isEmpty());
}

TEST(DemoAliases, PointAtTheDataAndAliasFolders)
{
    QTemporaryDir dir;
    const QString aliasFile = QDir(dir.path()).filePath("aliases.ini");
    Session()->SetConfigFile(aliasFile);
    DemoOptions options{QDir(dir.path()).filePath("daten"), {}, QDir(dir.path()).filePath("zv"), {}, 0, false, true};
    writeTables(options);
    TSession reread;
    reread.SetConfigFile(aliasFile);
    EXPECT_EQ(QDir(reread.AliasPath("zvuser")), QDir(options.aliasFolder));
    EXPECT_EQ(QDir(reread.AliasPath("ZVDB")), QDir(options.dataFolder));
    auto staffCustomers = openTable("zvuser", "mabkun.db");
    EXPECT_EQ(staffCustomers->RecordCount(), demoRows("mabkun.db").size());
    Session()->SetConfigFile(QString());
}

TEST(DemoFixtures, ReplaceATableOfTheSameNameInAnotherCase)
{
    QTemporaryDir dir;
    writeTable("laender.db", dir.path(), {Row{{"Lkz", "D"}, {"Land", "Deutschland"}}});
    QFile::rename(QDir(dir.path()).filePath("laender.db"), QDir(dir.path()).filePath("LAENDER.DB"));
    writeTable("laender.db", dir.path());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"laender.db"});
    EXPECT_EQ(openTable(dir.path(), "Laender.db")->RecordCount(), demoRows("laender.db").size());
}

// Also a bad row half way through a streamed table rolls the new table back.
TEST(DemoFixtures, BadRowsLeaveTheExistingTableUntouched)
{
    EXPECT_THROW(writeTables(QString()), EInOutError);
    QTemporaryDir dir;
    writeTable("laender.db", dir.path());
    EXPECT_THROW(writeTable("laender.db", dir.path(), {Row{{"Lkz", "D"}}, Row{{"Lkz", "VIELZULANG"}}}), EDatabaseError);
    EXPECT_THROW(writeTable("laender.db", dir.path(), {Row{{"Hauptstadt", "Wien"}}}), EDatabaseError);
    const auto source = [](int index) {
        return index < 3 ? Row{{"Lkz", QString::number(index)}} : Row{{"Lkz", "ZUVIEL"}};
    };
    EXPECT_THROW(writeTableFile(tableSpec("laender.db"), dir.path(), 5, source), EDatabaseError);
    EXPECT_EQ(openTable(dir.path(), "laender.db")->RecordCount(), demoRows("laender.db").size());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"laender.db"});
}

TEST(DemoFixtures, InstallationWithLoadTestPositionsKeepsTheDemoOrders)
{
    QTemporaryDir dir;
    DemoOptions options{QDir(dir.path()).filePath("daten"), {}, {}, {}, 300, false, false};
    writeTables(options);
    auto positions = openTable(options.dataFolder, "atrpos.db");
    EXPECT_EQ(positions->RecordCount(), 300);
    int invoicePositions = 0;
    for (const Row &row : demoRows("atrpos.db"))
        invoicePositions += valueOf(row, "auftragnr") == "20260001" ? 1 : 0;
    positions->SetRange({"20260001"}, {"20260001"});
    EXPECT_EQ(positions->RecordCount(), invoicePositions);
    ASSERT_TRUE(positions->FindKey({"20260001", 1}));
    EXPECT_EQ(positions->FieldByName("Artikelnr")->AsString(), QString("1001"));
    positions->SetIndexName("APOARTNR");
    positions->SetRange({"1012"}, {"1012"});
    EXPECT_GT(positions->RecordCount(), 1);
}

TEST(DemoFixtures, NumberTheAutoIncrementFieldThemselves)
{
    QTemporaryDir dir;
    writeTable("Auftrag.db", dir.path());
    auto orders = openTable(dir.path(), "Auftrag.db");
    QSet<int> counters;
    for (orders->First(); !orders->Eof(); orders->Next())
        counters.insert(orders->FieldByName("Zaehler")->AsInteger());
    EXPECT_EQ(counters.size(), orders->RecordCount());
    EXPECT_FALSE(counters.contains(0));
}
