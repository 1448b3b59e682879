#include "DbFixture.h"

#include "platform/db/TField.h"

#include <algorithm>
#include <vector>

namespace {

class CursorWindowTest : public DbFixture
{
protected:
    QList<int> orderNumbersBackwards(TTable &table)
    {
        QList<int> seen;
        for (table.Last(); !table.Bof(); table.Prior())
            seen.append(table.FieldByName(QStringLiteral("Auftragnr"))->AsInteger());
        return seen;
    }
};

TEST_F(CursorWindowTest, CallbackFilterStepsBothWaysOverManyWindows)
{
    createPositions(700, 4);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    positions->SetOnFilterRecord([](TDataSet *dataSet, bool &accept) {
        accept = dataSet->FieldByName(QStringLiteral("Posnr"))->AsInteger() == 2;
    });
    positions->SetFiltered(true);
    const QList<int> backwards = orderNumbersBackwards(*positions);
    ASSERT_EQ(backwards.size(), 700);
    for (int i = 0; i < backwards.size(); ++i)
        ASSERT_EQ(backwards[i], 700 - i);
    positions->MoveBy(350);
    EXPECT_EQ(positions->RecNo(), 351);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 351);
    EXPECT_EQ(positions->MoveBy(-1000), -350);
    EXPECT_TRUE(positions->Bof());
}

TEST_F(CursorWindowTest, SecondaryIndexWithDuplicatesKeepsEveryRecordOnce)
{
    createPositions(200, 5);
    auto positions = openTable(QStringLiteral("atrpos.db"), QStringLiteral("APOARTNR"));
    QSet<QString> seen;
    QString previous;
    for (positions->First(); !positions->Eof(); positions->Next()) {
        const QString article = positions->FieldByName(QStringLiteral("Artikel"))->AsString();
        EXPECT_LE(previous, article);
        previous = article;
        seen.insert(positions->FieldByName(QStringLiteral("Auftragnr"))->AsString() + QLatin1Char('/')
                    + positions->FieldByName(QStringLiteral("Posnr"))->AsString());
    }
    EXPECT_EQ(seen.size(), 1000);
    int backwards = 0;
    for (positions->Last(); !positions->Bof(); positions->Prior())
        ++backwards;
    EXPECT_EQ(backwards, 1000);
    positions->SetRange({QStringLiteral("A5")}, {QStringLiteral("A5")});
    const int inRange = positions->RecordCount();
    int stepped = 0;
    for (positions->First(); !positions->Eof(); positions->Next())
        ++stepped;
    EXPECT_EQ(stepped, inRange);
    EXPECT_GT(inRange, 50);
}

TEST_F(CursorWindowTest, TableWithoutKeyKeepsTheOrderOfWriting)
{
    auto notes = table(QStringLiteral("Notizen.db"));
    notes->FieldDefs()->AddParadox(QStringLiteral("Text"), QStringLiteral("A20"));
    notes->CreateTable();
    notes->Open();
    for (int i = 0; i < 100; ++i) {
        notes->Append();
        notes->FieldByName(QStringLiteral("Text"))->SetAsString(QStringLiteral("Notiz %1").arg(i));
        notes->Post();
    }
    QStringList backwards;
    for (notes->Last(); !notes->Bof(); notes->Prior())
        backwards.append(notes->FieldByName(QStringLiteral("Text"))->AsString());
    ASSERT_EQ(backwards.size(), 100);
    EXPECT_EQ(backwards.first(), QStringLiteral("Notiz 99"));
    EXPECT_EQ(backwards.last(), QStringLiteral("Notiz 0"));
    notes->MoveBy(60);
    EXPECT_EQ(notes->RecNo(), 61);
}

TEST_F(CursorWindowTest, BookmarkOutsideTheFilterIsNotReached)
{
    createPositions(10, 2);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    const TBookmark first = positions->GetBookmark();
    positions->SetFilter(QStringLiteral("Auftragnr > 5"));
    positions->SetFiltered(true);
    EXPECT_THROW(positions->GotoBookmark(first), EDatabaseError);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 6);
    positions->SetFiltered(false);
    positions->GotoBookmark(first);
    EXPECT_EQ(positions->RecNo(), 1);
}

TEST_F(CursorWindowTest, WritesWhileSteppingKeepThePlace)
{
    createPositions(100, 3);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    int edited = 0;
    for (positions->First(); !positions->Eof(); positions->Next()) {
        positions->Edit();
        positions->FieldByName(QStringLiteral("Menge"))->SetAsFloat(edited);
        positions->Post();
        ++edited;
    }
    EXPECT_EQ(edited, 300);
    positions->SetFilter(QStringLiteral("Menge >= 150"));
    positions->SetFiltered(true);
    EXPECT_EQ(positions->RecordCount(), 150);
    positions->First();
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 51);
}

}

// Record numbers are kept while stepping and counted after jumps; each move
// below is checked against the number a walk from the first record finds.
TEST_F(CursorWindowTest, RecordNumbersFollowEveryMoveAndWritesOfOthers)
{
    createPositions(900, 3);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    positions->SetRange({QVariant(101)}, {QVariant(800)});
    auto walkedNumber = [&] {
        const QString order = positions->FieldByName(QStringLiteral("Auftragnr"))->AsString();
        const int posnr = positions->FieldByName(QStringLiteral("Posnr"))->AsInteger();
        return (order.toInt() - 101) * 3 + posnr;
    };
    const std::vector<std::pair<const char *, std::function<void()>>> moves = {
        {"First", [&] { positions->First(); }},
        {"1500 x Next",
         [&] {
             for (int i = 0; i < 1500; ++i)
                 positions->Next();
         }},
        {"700 x Prior",
         [&] {
             for (int i = 0; i < 700; ++i)
                 positions->Prior();
         }},
        {"FindKey",
         [&] {
             positions->FindKey({QVariant(500), QVariant(2)});
         }},
        {"Next after FindKey", [&] { positions->Next(); }},
        {"Last", [&] { positions->Last(); }},
        {"1200 x Prior",
         [&] {
             for (int i = 0; i < 1200; ++i)
                 positions->Prior();
         }},
        {"MoveBy", [&] { positions->MoveBy(-333); }},
    };
    for (const auto &[name, move] : moves) {
        move();
        EXPECT_EQ(positions->RecNo(), walkedNumber()) << name;
    }
    EXPECT_EQ(positions->RecordCount(), 2100);

    auto other = openTable(QStringLiteral("atrpos.db"));
    other->Append();
    other->FieldByName(QStringLiteral("Auftragnr"))->SetAsInteger(101);
    other->FieldByName(QStringLiteral("Posnr"))->SetAsInteger(0);
    other->Post();
    EXPECT_EQ(positions->RecordCount(), 2101);
    positions->Refresh();
    EXPECT_EQ(positions->RecNo(), walkedNumber() + 1);
}

// Long moves skip rows by OFFSET; they must land where stepping lands, and
// know their record number, in every order, range and filter.
struct JumpCase
{
    const char *name;
    const char *index;
    const char *filter;
    bool range;
    std::vector<int> moves;
};

class CursorJumpTest : public DbFixture, public ::testing::WithParamInterface<JumpCase>
{
protected:
    // Row ids in the order stepping meets them.
    static QList<qint64> steppedOrder(TTable &table)
    {
        QList<qint64> order;
        for (table.First(); !table.Eof(); table.Next())
            order.append(table.GetBookmark().rowId);
        return order;
    }
};

TEST_P(CursorJumpTest, LandsWhereSteppingLands)
{
    const JumpCase &c = GetParam();
    createPositions(1500, 2);
    {
        // Every seventh article is missing: its rows sort first in the
        // article index, and backward reads take them in a second query.
        auto positions = openTable(QStringLiteral("atrpos.db"));
        for (positions->First(); !positions->Eof(); positions->MoveBy(7)) {
            positions->Edit();
            positions->FieldByName(QStringLiteral("Artikel"))->Clear();
            positions->Post();
        }
    }
    auto positions = openTable(QStringLiteral("atrpos.db"), QString::fromLatin1(c.index));
    if (c.range)
        positions->SetRange({300}, {1200});
    if (*c.filter) {
        positions->SetFilter(QString::fromLatin1(c.filter));
        positions->SetFiltered(true);
    }
    const QList<qint64> order = steppedOrder(*positions);
    ASSERT_GT(order.size(), 1000);
    positions->First();
    int at = 0;
    for (const int move : c.moves) {
        const int expectedTarget = std::clamp(at + move, 0, int(order.size()) - 1);
        const int moved = positions->MoveBy(move);
        SCOPED_TRACE(move);
        EXPECT_EQ(moved, expectedTarget - at);
        at = expectedTarget;
        EXPECT_EQ(positions->GetBookmark().rowId, order[at]);
        EXPECT_EQ(positions->RecNo(), at + 1);
        EXPECT_EQ(positions->Eof(), move > 0 && moved < move);
        EXPECT_EQ(positions->Bof(), move < 0 && moved > move);
    }
    const int middle = int(order.size()) / 2;
    positions->SetRecNo(middle);
    EXPECT_EQ(positions->GetBookmark().rowId, order[middle - 1]);
    positions->Next();
    EXPECT_EQ(positions->GetBookmark().rowId, order[middle]);
    positions->Prior();
    positions->Prior();
    EXPECT_EQ(positions->GetBookmark().rowId, order[middle - 2]);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, CursorJumpTest,
    ::testing::Values(JumpCase{"key", "", "", false, {1700, -1200, 900, 5000, -600, -100000, 2999}},
                      JumpCase{"articles", "APOARTNR", "", false, {1800, -1500, 1000, -1299, 2500, 10000}},
                      JumpCase{"articlesBackToNulls", "APOARTNR", "", false, {2900, -2600, 1000, -2000}},
                      JumpCase{"range", "", "", true, {1500, -900, 4000, -3000}},
                      JumpCase{"filter", "", "Menge > 2", false, {1000, -700, 2000, -5000}}),
    [](const ::testing::TestParamInfo<JumpCase> &moves) { return std::string(moves.param.name); });
