#include "DbFixture.h"

#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

namespace {

// Every test starts from the filled customers table.
class IndexRangeTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
};

// The keys of the current record as "order/position", NULL as empty.
QString keyText(TField *first, TField *second)
{
    auto shown = [](TField *field) { return field->IsNull() ? QString() : QString::number(field->AsInteger()); };
    return shown(first) + QLatin1Char('/') + (second->IsNull() ? QString() : second->AsString());
}

TEST_F(IndexRangeTest, SecondaryIndexOrdersGermanNamesAsAReaderExpects)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"), QStringLiteral("NameIdx"));
    EXPECT_EQ(names(*kunden), (QStringList{"Ärger", "Meier", "Meierhof", "mueller", "Müller", "Zander"}));
    kunden->SetIndexFieldNames(QStringLiteral("Ort"));
    EXPECT_EQ(names(*kunden, QStringLiteral("Ort")), (QStringList{"", "Aachen", "Bonn", "Köln", "Köln", "Straßburg"}));
    EXPECT_THROW(kunden->SetIndexName(QStringLiteral("GibtsNicht")), EDatabaseError);
    EXPECT_EQ(kunden->IndexFieldNames(), QStringLiteral("Ort"));
}

TEST_F(IndexRangeTest, ChangingTheIndexKeepsTheRecordAndCancelsTheRange)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->SetRange({2}, {4});
    EXPECT_EQ(kunden->RecordCount(), 3);
    kunden->Next();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Zander"));
    kunden->SetIndexName(QStringLiteral("NameIdx"));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Zander"));
    EXPECT_EQ(kunden->RecordCount(), 6);
    EXPECT_EQ(kunden->RecNo(), 6);
}

TEST_F(IndexRangeTest, FindKeyFindsExactKeysAndLeavesTheCursorOnFailure)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"), QStringLiteral("NameIdx"));
    EXPECT_TRUE(kunden->FindKey({QStringLiteral("MEIER")}));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
    EXPECT_FALSE(kunden->FindKey({QStringLiteral("Mei")}));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
    EXPECT_TRUE(kunden->FindKey({QStringLiteral("Müller"), QStringLiteral("hans")}));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 1);
    kunden->FindNearest({QStringLiteral("Meierh")});
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Meierhof"));
    kunden->FindNearest({QStringLiteral("Zz")});
    EXPECT_TRUE(kunden->Eof());
    EXPECT_THROW(kunden->FindKey({1, 2, 3}), EDatabaseError);

    kunden->SetIndexName(QString());
    kunden->SetKey();
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(5);
    EXPECT_EQ(kunden->State(), dsSetKey);
    EXPECT_TRUE(kunden->GotoKey());
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Meierhof"));
}

TEST_F(IndexRangeTest, CaseSensitiveIndexDistinguishesCase)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"), QStringLiteral("OrtIdx"));
    EXPECT_FALSE(kunden->FindKey({QStringLiteral("köln")}));
    EXPECT_TRUE(kunden->FindKey({QStringLiteral("Köln")}));
}

TEST_F(IndexRangeTest, RangesWithPartialKeysCountAndStepWithinTheRange)
{
    createPositions(50, 5);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    positions->SetRange({17}, {17});
    EXPECT_EQ(positions->RecordCount(), 5);
    QList<int> seen;
    for (positions->First(); !positions->Eof(); positions->Next())
        seen.append(positions->FieldByName(QStringLiteral("Posnr"))->AsInteger());
    EXPECT_EQ(seen, (QList<int>{1, 2, 3, 4, 5}));
    positions->Prior();
    EXPECT_EQ(positions->RecNo(), 4);

    positions->SetRangeStart();
    positions->FieldByName(QStringLiteral("Auftragnr"))->SetAsInteger(10);
    positions->FieldByName(QStringLiteral("Posnr"))->SetAsInteger(4);
    positions->SetRangeEnd();
    positions->FieldByName(QStringLiteral("Auftragnr"))->SetAsInteger(11);
    positions->FieldByName(QStringLiteral("Posnr"))->SetAsInteger(2);
    positions->ApplyRange();
    EXPECT_EQ(positions->RecordCount(), 4);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Posnr"))->AsInteger(), 4);

    positions->EditRangeStart();
    positions->SetKeyExclusive(true);
    positions->ApplyRange();
    EXPECT_EQ(positions->RecordCount(), 3);

    EXPECT_FALSE(positions->FindKey({30}));
    EXPECT_TRUE(positions->FindKey({11}));
    positions->CancelRange();
    EXPECT_EQ(positions->RecordCount(), 250);
    EXPECT_TRUE(positions->FindKey({30, 2}));
    EXPECT_EQ(positions->RecNo(), 147);
}

TEST_F(IndexRangeTest, NullKeysSortFirstAndAreReachedBackwards)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"), QStringLiteral("OrtIdx"));
    for (int nr = 10; nr < 13; ++nr) {
        kunden->Append();
        kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(nr);
        kunden->FieldByName(QStringLiteral("Ort"))->Clear();
        kunden->Post();
    }
    EXPECT_TRUE(kunden->FindKey({QStringLiteral("Bonn")}));
    EXPECT_EQ(kunden->RecNo(), 6);
    QList<int> backwards;
    for (; !kunden->Bof(); kunden->Prior())
        backwards.append(kunden->RecNo());
    EXPECT_EQ(backwards, (QList<int>{6, 5, 4, 3, 2, 1}));
    EXPECT_TRUE(kunden->FieldByName(QStringLiteral("Ort"))->IsNull());
    kunden->Last();
    int count = 0;
    for (; !kunden->Bof(); kunden->Prior())
        ++count;
    EXPECT_EQ(count, 9);
}

// NULL keys sort first: a range without a start reaches them, a range with
// one does not, and a NULL second key lies before every value of its order.
TEST_F(IndexRangeTest, RangesPlaceNullKeysWhereTheIndexOrdersThem)
{
    createPositions(3, 3);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    TField *order = positions->FieldByName(QStringLiteral("Auftragnr"));
    TField *position = positions->FieldByName(QStringLiteral("Posnr"));
    const QList<std::pair<int, int>> unnumbered{{2, -1}, {-1, 7}, {-1, -1}};
    for (const auto &[orderNr, positionNr] : unnumbered) {
        positions->Append();
        if (orderNr >= 0)
            order->SetAsInteger(orderNr);
        if (positionNr >= 0)
            position->SetAsInteger(positionNr);
        positions->Post();
    }
    auto keys = [&] {
        QStringList seen;
        for (positions->First(); !positions->Eof(); positions->Next())
            seen.append(keyText(order, position));
        return seen;
    };
    auto keysBackwards = [&] {
        QStringList seen;
        for (positions->Last(); !positions->Bof(); positions->Prior())
            seen.prepend(keyText(order, position));
        return seen;
    };

    positions->SetRange({1, 2}, {2, 1});
    const QStringList acrossOrders{"1/2", "1/3", "2/", "2/1"};
    EXPECT_EQ(keys(), acrossOrders);
    EXPECT_EQ(keysBackwards(), acrossOrders);
    EXPECT_EQ(positions->RecordCount(), 4);
    EXPECT_TRUE(positions->FindKey({2}));
    EXPECT_EQ(positions->RecNo(), 3);

    positions->SetRange({2}, {2, 1});
    EXPECT_EQ(keys(), (QStringList{"2/", "2/1"}));

    positions->SetRange({}, {1, 1});
    const QStringList upToFirst{"/", "/7", "1/1"};
    EXPECT_EQ(keys(), upToFirst);
    EXPECT_EQ(keysBackwards(), upToFirst);
    EXPECT_EQ(positions->RecordCount(), 3);
    positions->Last();
    EXPECT_EQ(positions->RecNo(), 3);

    positions->SetRangeStart();
    positions->ApplyRange();
    EXPECT_EQ(keys(), upToFirst);
}

TEST_F(IndexRangeTest, DescendingRangesKeepNullKeysLast)
{
    auto umsatz = table(QStringLiteral("Umsatz.db"));
    umsatz->FieldDefs()->AddParadox(QStringLiteral("Betrag"), QStringLiteral("$"));
    umsatz->FieldDefs()->AddParadox(QStringLiteral("Text"), QStringLiteral("A10"));
    umsatz->IndexDefs()->Add(QStringLiteral("Absteigend"), QStringLiteral("Betrag;Text"), ixDescending);
    umsatz->CreateTable();
    umsatz->Open();
    const QStringList texts{"a", "b", QString()};
    for (int value = 0; value <= 3; ++value) {
        for (const QString &label : texts) {
            umsatz->Append();
            if (value > 0)
                umsatz->FieldByName(QStringLiteral("Betrag"))->SetAsFloat(value);
            if (!label.isNull())
                umsatz->FieldByName(QStringLiteral("Text"))->SetAsString(label);
            umsatz->Post();
        }
    }
    umsatz->SetIndexName(QStringLiteral("Absteigend"));
    TField *amount = umsatz->FieldByName(QStringLiteral("Betrag"));
    TField *text = umsatz->FieldByName(QStringLiteral("Text"));
    auto keys = [&] {
        QStringList seen;
        for (umsatz->First(); !umsatz->Eof(); umsatz->Next())
            seen.append(keyText(amount, text));
        return seen;
    };
    umsatz->SetRange({3, QStringLiteral("a")}, {1, QStringLiteral("b")});
    EXPECT_EQ(keys(), (QStringList{"3/a", "3/", "2/b", "2/a", "2/", "1/b"}));
    EXPECT_EQ(umsatz->RecordCount(), 6);
    umsatz->SetRange({1, QStringLiteral("a")}, {});
    EXPECT_EQ(keys(), (QStringList{"1/a", "1/", "/b", "/a", "/"}));
    umsatz->SetRange({}, {2, QStringLiteral("b")});
    EXPECT_EQ(keys(), (QStringList{"3/b", "3/a", "3/", "2/b"}));
}

// Orders are kept per table file: one on the same fields in the other
// direction is another order, also for a table opened anew.
TEST_F(IndexRangeTest, SameFieldsAscendingAndDescendingKeepTheirDirection)
{
    auto umsatz = table(QStringLiteral("Umsatz.db"));
    umsatz->FieldDefs()->AddParadox(QStringLiteral("Betrag"), QStringLiteral("$"));
    umsatz->IndexDefs()->Add(QStringLiteral("Auf"), QStringLiteral("Betrag"), 0);
    umsatz->IndexDefs()->Add(QStringLiteral("Ab"), QStringLiteral("Betrag"), ixDescending);
    umsatz->CreateTable();
    umsatz->Open();
    for (int value = 1; value <= 3; ++value) {
        umsatz->Append();
        umsatz->FieldByName(QStringLiteral("Betrag"))->SetAsFloat(value);
        umsatz->Post();
    }
    umsatz->Close();
    const std::pair<QString, int> firstByIndex[] = {{"Auf", 1}, {"Ab", 3}, {"Auf", 1}};
    for (const auto &[index, first] : firstByIndex) {
        SCOPED_TRACE(index.toStdString());
        auto reopened = openTable(QStringLiteral("Umsatz.db"), index);
        reopened->First();
        EXPECT_EQ(reopened->FieldByName(QStringLiteral("Betrag"))->AsInteger(), first);
        reopened->SetIndexName(index == QStringLiteral("Ab") ? QStringLiteral("Auf") : QStringLiteral("Ab"));
        reopened->First();
        EXPECT_EQ(reopened->FieldByName(QStringLiteral("Betrag"))->AsInteger(), 4 - first);
    }
}

TEST_F(IndexRangeTest, EmptyRangeIsEofAndBof)
{
    createPositions(5, 2);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    positions->SetRange({9}, {9});
    EXPECT_TRUE(positions->IsEmpty());
    EXPECT_TRUE(positions->Eof());
    EXPECT_TRUE(positions->Bof());
    EXPECT_EQ(positions->RecordCount(), 0);
}

}
