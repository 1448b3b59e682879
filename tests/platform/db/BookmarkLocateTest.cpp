#include "DbFixture.h"

#include "platform/db/TField.h"

namespace {

// Every test starts from the filled customers table.
class BookmarkLocateTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
};

TEST_F(BookmarkLocateTest, BookmarksSurviveIndexAndFilterChanges)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->MoveBy(3);
    TBookmark aerger = kunden->GetBookmark();
    kunden->First();
    TBookmark mueller = kunden->GetBookmark();
    EXPECT_EQ(kunden->CompareBookmarks(aerger, aerger), 2);
    EXPECT_EQ(kunden->CompareBookmarks(mueller, aerger), -1);
    kunden->SetIndexName(QStringLiteral("NameIdx"));
    EXPECT_EQ(kunden->CompareBookmarks(mueller, aerger), 1);
    kunden->SetFilter(QStringLiteral("Ort = 'Köln'"));
    kunden->SetFiltered(true);
    kunden->GotoBookmark(aerger);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Ärger"));
    EXPECT_EQ(kunden->RecNo(), 1);
    kunden->Next();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Müller"));
    EXPECT_TRUE(kunden->BookmarkValid(mueller));
    kunden->Delete();
    EXPECT_FALSE(kunden->BookmarkValid(mueller));
    kunden->FreeBookmark(aerger);
    EXPECT_FALSE(aerger.valid);
}

TEST_F(BookmarkLocateTest, ARowWithoutKeyComesBeforeEveryRowWithOne)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"), QStringLiteral("OrtIdx"));
    kunden->Append();
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(7);
    kunden->Post();
    ASSERT_TRUE(kunden->Locate(QStringLiteral("Nr"), 7, 0));
    const TBookmark withoutPlace = kunden->GetBookmark();
    ASSERT_TRUE(kunden->Locate(QStringLiteral("Nr"), 3, 0));
    const TBookmark aachen = kunden->GetBookmark();
    EXPECT_EQ(kunden->CompareBookmarks(withoutPlace, aachen), -1);
    EXPECT_EQ(kunden->CompareBookmarks(aachen, withoutPlace), 1);
}

TEST_F(BookmarkLocateTest, LocateWithOptionsAndSeveralFields)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    EXPECT_TRUE(kunden->Locate(QStringLiteral("Ort"), QStringLiteral("Köln"), 0));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 1);
    EXPECT_TRUE(kunden->Locate(QStringLiteral("name"), QStringLiteral("MEI"), loCaseInsensitive | loPartialKey));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
    EXPECT_FALSE(kunden->Locate(QStringLiteral("Name"), QStringLiteral("MEI"), loPartialKey));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
    EXPECT_TRUE(kunden->Locate(QStringLiteral("Ort;Nr"), QVariantList{QStringLiteral("Köln"), 4}, 0));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Ärger"));
    EXPECT_TRUE(kunden->Locate(QStringLiteral("Umsatz"), 10.0, 0));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 5);
    EXPECT_FALSE(kunden->Locate(QStringLiteral("Name"), QStringLiteral("Meierhofer"), 0));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 5);
}

TEST_F(BookmarkLocateTest, LookupLeavesTheCursorWhereItWas)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->MoveBy(2);
    EXPECT_EQ(kunden->Lookup(QStringLiteral("Nr"), 4, QStringLiteral("Name")).toString(), QStringLiteral("Ärger"));
    EXPECT_TRUE(kunden->Lookup(QStringLiteral("Nr"), 40, QStringLiteral("Name")).isNull());
    const QVariantList both = kunden->Lookup(QStringLiteral("Nr"), 5, QStringLiteral("Name;Ort")).toList();
    EXPECT_EQ(both, (QVariantList{QStringLiteral("Meierhof"), QStringLiteral("Straßburg")}));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 3);
}

}
