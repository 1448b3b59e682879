#include "DbFixture.h"

#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

namespace {

class NavigationTest : public DbFixture
{};

TEST_F(NavigationTest, StepsThroughTheKeyOrderAcrossWindowBoundaries)
{
    createPositions(300, 4);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    EXPECT_EQ(positions->RecordCount(), 1200);
    EXPECT_TRUE(positions->Bof());
    int count = 0;
    int lastOrder = 0, lastPos = 0;
    for (positions->First(); !positions->Eof(); positions->Next()) {
        const int order = positions->FieldByName(QStringLiteral("auftragnr"))->AsInteger();
        const int pos = positions->FieldByName(QStringLiteral("POSNR"))->AsInteger();
        ASSERT_TRUE(order > lastOrder || (order == lastOrder && pos == lastPos + 1));
        lastOrder = order;
        lastPos = pos;
        ++count;
    }
    EXPECT_EQ(count, 1200);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 300);
    EXPECT_EQ(positions->RecNo(), 1200);

    count = 0;
    for (positions->Last(); !positions->Bof(); positions->Prior())
        ++count;
    EXPECT_EQ(count, 1200);
    EXPECT_EQ(positions->RecNo(), 1);
}

TEST_F(NavigationTest, MoveByAndRecNoAgree)
{
    createPositions(100, 3);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    positions->First();
    EXPECT_EQ(positions->MoveBy(150), 150);
    EXPECT_EQ(positions->RecNo(), 151);
    EXPECT_EQ(positions->MoveBy(-200), -150);
    EXPECT_TRUE(positions->Bof());
    positions->SetRecNo(42);
    EXPECT_EQ(positions->RecNo(), 42);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 14);
    EXPECT_EQ(positions->MoveBy(1000), 258);
    EXPECT_TRUE(positions->Eof());
}

TEST_F(NavigationTest, EmptyTableIsBofAndEof)
{
    createCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    EXPECT_TRUE(kunden->IsEmpty());
    EXPECT_TRUE(kunden->Eof());
    EXPECT_TRUE(kunden->Bof());
    EXPECT_EQ(kunden->RecordCount(), 0);
    EXPECT_EQ(kunden->RecNo(), 0);
    EXPECT_TRUE(kunden->FieldByName(QStringLiteral("Name"))->IsNull());
    EXPECT_THROW(kunden->Delete(), EDatabaseError);
    for (int call = 0; call < 2; ++call) {
        kunden->First();
        EXPECT_TRUE(kunden->Eof() && kunden->Bof()) << "First() call " << call;
        EXPECT_TRUE(kunden->FieldByName(QStringLiteral("Name"))->IsNull());
    }
}

TEST_F(NavigationTest, FieldLookupIgnoresCaseAndNamesTheDataSetWhenMissing)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(kunden->FindField(QStringLiteral("NAME")), kunden->FieldByName(QStringLiteral("name")));
    EXPECT_EQ(kunden->FindField(QStringLiteral("Fehlt")), nullptr);
    try {
        kunden->FieldByName(QStringLiteral("Fehlt"));
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("tblKunden.db: Feld 'Fehlt' nicht gefunden"));
    }
}

TEST_F(NavigationTest, ValuesRoundTripExactly)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->First();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Müller"));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Seit"))->AsString(), QStringLiteral("01.02.2003"));
    EXPECT_DOUBLE_EQ(kunden->FieldByName(QStringLiteral("Umsatz"))->AsFloat(), 1200.5);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Umsatz"))->DisplayText(), QStringLiteral("1.200,50 €"));
    EXPECT_TRUE(kunden->FieldByName(QStringLiteral("Aktiv"))->AsBoolean());
    kunden->MoveBy(2);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Seit"))->AsString(), QStringLiteral("31.12.1898"));
    EXPECT_LT(kunden->FieldByName(QStringLiteral("Seit"))->AsDateTime(), 0);
    kunden->MoveBy(2);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Straßburg"));
    kunden->Next();
    EXPECT_TRUE(kunden->FieldByName(QStringLiteral("Seit"))->IsNull());
    EXPECT_FALSE(kunden->FieldByName(QStringLiteral("Ort"))->IsNull());
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Ort"))->AsString(), QString());
    EXPECT_TRUE(kunden->FieldByName(QStringLiteral("Notiz"))->IsNull());
}

}
