#include "DemoTablesTest.h"
#include "TextPrinting.h"

#include "demo/tables/MasterData.h"
#include "demo/tables/TableCatalog.h"
#include "demo/tables/TableWriter.h"
#include "lib/data/Qkcommon.h"
#include "lib/data/Qkpict.h"
#include "lib/data/Qktable.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>

// The pictures a table file keeps among its validity checks, on the demo's
// own tables.
class TablePictures : public DemoTablesTest
{
protected:
    // A fresh copy of the demo customers in the test's own folder.
    std::unique_ptr<TqkTable> customers(const QString &name = QStringLiteral("Kunden"))
    {
        demo::writeTable(QStringLiteral("Kunden.db"), own.path());
        auto table = std::make_unique<TqkTable>();
        table->SetDatabaseName(own.path());
        table->SetTableName(name);
        return table;
    }
    QTemporaryDir own;
};

TEST_F(TablePictures, EveryDemoRowMeetsThePicturesOfItsTable)
{
    demo::DemoOptions options;
    options.dataFolder = folder();
    options = demo::completedOptions(options);
    int checked = 0;
    for (const demo::TableSpec &spec : demo::tableCatalog()) {
        TqkTable table;
        table.SetDatabaseName(demo::tableFolder(spec, options));
        table.SetTableName(spec.fileName);
        table.Open();
        for (const demo::PictureSpec &picture : spec.pictures) {
            ASSERT_EQ(table.GetFieldPicture(picture.field), picture.picture) << spec.fileName.toStdString();
            for (table.First(); !table.Eof(); table.Next(), ++checked) {
                const QString value = table.FieldByName(picture.field)->AsString();
                EXPECT_TRUE(qkMaskAccepts(picture.picture, value)) << value.toStdString();
            }
        }
    }
    EXPECT_GT(checked, 30);
}

TEST_F(TablePictures, PostRefusesAValueThatBreaksTheTablesOwnPicture)
{
    const struct
    {
        const char *field;
        const char *value;
        bool validate;
        bool posts;
    } cases[] = {
        {"plz", "80331", true, true},
        {"plz", "1060", true, true},
        {"plz", "", true, true},
        {"plz", "803", true, false},
        {"plz", "8033a", true, false},
        {"Telefon", "+43 1 597 33 21", true, true},
        {"Telefon", "0711/78800", true, true},
        {"Telefon", "4711", true, false},
        {"Telefax", "089 x", true, false},
        {"plz", "803", false, true},
    };
    for (const auto &c : cases) {
        auto table = customers();
        table->SetValidateWithMask(c.validate);
        table->Open();
        const QString before = table->FieldByName(c.field)->AsString();
        table->Edit();
        table->FieldByName(c.field)->SetAsString(c.value);
        try {
            table->Post();
            EXPECT_TRUE(c.posts) << c.field << " " << c.value;
        } catch (const EDatabaseError &error) {
            EXPECT_FALSE(c.posts) << c.field << " " << c.value;
            EXPECT_EQ(error.Message(), QStringLiteral("Invalid characters. Field : ") + c.field);
            EXPECT_EQ(table->State(), dsEdit);
            table->Cancel();
        }
        table->Close();
        table->Open();
        EXPECT_EQ(table->FieldByName(c.field)->AsString(), c.posts ? QString(c.value) : before) << c.value;
    }
}

TEST_F(TablePictures, TheTablesPictureGoesBeforeItsListLineAndKeepsTheLinesFlags)
{
    auto table = customers();
    table->SetPictureMasks({"PLZ\t#####\tF\tT", "Name\t&*?\tT\tF"});
    table->Open();
    const TqkPictureMaskSetting plz = qkGetPictureMask(table.get(), "plz", true);
    EXPECT_EQ(plz.Mask, "####[#]");
    EXPECT_FALSE(plz.AutoFill);
    EXPECT_EQ(table->PictureMasks(), QStringList({"plz\t####[#]\tF\tT", "Name\t&*?\tT\tF"}));
    EXPECT_EQ(qkGetPictureMask(table.get(), "Name", true).Mask, "&*?");
}

TEST_F(TablePictures, OnlyTheSuitesTableTypeKeepsPicturesAndEachOpeningReadsThemAnew)
{
    customers();
    ASSERT_TRUE(QFile::copy(own.filePath("Kunden.db"), own.filePath("Kunden.dat")));
    const struct
    {
        TTableType type;
        const char *name;
        const char *field;
        const char *picture;
    } cases[] = {
        {ttDefault, "Kunden", "plz", "####[#]"},
        {ttDefault, "KUNDEN.DB", "Telefon", "{+,0}*{#, ,-,/}"},
        {ttParadox, "Kunden.dat", "plz", "####[#]"},
        {ttDefault, "Kunden.dat", "plz", ""},
        {ttDBase, "Kunden.db", "plz", ""},
        {ttDefault, "Kunden", "PLZ", ""},
        {ttDefault, "Fehlt", "plz", ""},
    };
    for (const auto &c : cases) {
        TqkTable table;
        table.SetDatabaseName(own.path());
        table.SetTableName(c.name);
        table.SetTableType(c.type);
        EXPECT_EQ(table.GetFieldPicture(c.field), c.picture) << c.name << " " << c.field;
    }

    auto table = customers();
    table->Open();
    EXPECT_EQ(table->GetFieldPicture("plz"), "####[#]");
    table->Close();
    demo::TableSpec plain = demo::tableSpec("Kunden.db");
    plain.pictures.clear();
    demo::writeTableFile(plain, own.path(), demo::customerRows());
    EXPECT_EQ(table->GetFieldPicture("plz"), "####[#]") << "read once while closed";
    table->Open();
    EXPECT_EQ(table->GetFieldPicture("plz"), "");
}
