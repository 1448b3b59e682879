#include "DbFixture.h"

#include "platform/db/FieldClasses.h"
#include "platform/db/TDataSource.h"

namespace {

class MasterDetailTest : public DbFixture
{};

TEST_F(MasterDetailTest, DetailFollowsTheMastersKey)
{
    fillCustomers();
    createPositions(6, 3);
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    TDataSource source;
    source.SetDataSet(kunden.get());
    auto positions = table(QStringLiteral("atrpos.db"));
    ASSERT_TRUE(positions->setProperty("MasterSource", QVariant::fromValue(&source)));
    ASSERT_TRUE(positions->setProperty("MasterFields", QStringLiteral("Nr")));
    EXPECT_EQ(positions->property("MasterSource").value<TDataSource *>(), &source);
    EXPECT_EQ(source.property("DataSet").value<TDataSet *>(), kunden.get());
    positions->Open();
    EXPECT_EQ(positions->RecordCount(), 3);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 1);
    kunden->Last();
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 6);
    positions->Last();
    EXPECT_EQ(positions->RecNo(), 3);
    kunden->Insert();
    EXPECT_TRUE(positions->IsEmpty());
    kunden->Cancel();
    EXPECT_EQ(positions->RecordCount(), 3);

    positions->Append();
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 6);
    EXPECT_FALSE(positions->Modified());
    positions->FieldByName(QStringLiteral("Posnr"))->SetAsInteger(4);
    positions->Post();
    EXPECT_EQ(positions->RecordCount(), 4);
    EXPECT_EQ(positions->RecNo(), 4);
}

TEST_F(MasterDetailTest, CalculatedAndLookupFields)
{
    fillCustomers();
    createPositions(6, 2);
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    auto positions = table(QStringLiteral("atrpos.db"));
    TField *doubled = CreateField(positions.get(), QStringLiteral("Doppelt"), ftFloat, 0, fkCalculated);
    positions->AddField(doubled);
    TField *customer = CreateField(positions.get(), QStringLiteral("Kunde"), ftString, 30, fkLookup);
    customer->SetLookupDataSet(kunden.get());
    customer->SetKeyFields(QStringLiteral("Auftragnr"));
    customer->SetLookupKeyFields(QStringLiteral("Nr"));
    customer->SetLookupResultField(QStringLiteral("Name"));
    positions->AddField(customer);
    QList<TDataSetState> states;
    positions->SetOnCalcFields([&](TDataSet *dataSet) {
        states.append(dataSet->State());
        dataSet->FieldByName(QStringLiteral("Doppelt"))
            ->SetAsFloat(dataSet->FieldByName(QStringLiteral("Menge"))->AsFloat() * 2);
    });
    positions->Open();
    EXPECT_EQ(positions->FieldCount(), 6);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Doppelt"))->FieldKind(), fkCalculated);
    positions->Next();
    EXPECT_DOUBLE_EQ(positions->FieldByName(QStringLiteral("Doppelt"))->AsFloat(), 6.0);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Kunde"))->AsString(), QStringLiteral("Müller"));
    positions->FindKey({4});
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Kunde"))->AsString(), QStringLiteral("Ärger"));
    EXPECT_TRUE(std::all_of(states.begin(), states.end(), [](TDataSetState s) { return s == dsCalcFields; }));
    positions->Edit();
    positions->FieldByName(QStringLiteral("Menge"))->SetAsFloat(10);
    EXPECT_DOUBLE_EQ(positions->FieldByName(QStringLiteral("Doppelt"))->AsFloat(), 20.0);
    positions->Post();
    EXPECT_DOUBLE_EQ(positions->FieldByName(QStringLiteral("Doppelt"))->AsFloat(), 20.0);
    positions->First();
    EXPECT_TRUE(positions->Locate(QStringLiteral("Doppelt"), 20.0, 0));
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 4);
    EXPECT_EQ(
        positions->Lookup(QStringLiteral("Kunde"), QStringLiteral("Zander"), QStringLiteral("Doppelt")).toDouble(),
        3.0);
    // Lookup fields are searched record by record, partial keys too.
    EXPECT_TRUE(positions->Locate(QStringLiteral("Kunde"), QStringLiteral("Zan"), loPartialKey));
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 3);
    EXPECT_FALSE(positions->Locate(QStringLiteral("Kunde"), QStringLiteral("zan"), loPartialKey));
    EXPECT_FALSE(positions->Locate(QStringLiteral("Kunde"), QStringLiteral("Zan"), 0));
    positions->Close();
    positions->Open();
    EXPECT_EQ(positions->FieldCount(), 6);
}

}
