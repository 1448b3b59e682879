#include "LibraryTables.h"

#include "lib/data/Qklookup.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TField.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"

#include <gtest/gtest.h>

namespace {

class FieldValues : public LibraryTables
{
protected:
    void SetUp() override
    {
        LibraryTables::SetUp();
        createPlaces();
        places = openPlaces();
        customers = openCustomersWithPlace(*places);
    }

    std::unique_ptr<fixture::ListTable> openCustomersWithPlace(TTable &placeTable)
    {
        auto table = std::make_unique<fixture::ListTable>();
        table->SetDatabaseName(folder());
        table->SetTableName("Kunden");
        TField *ort = CreateField(table.get(), "OrtName", ftString, 30, fkLookup);
        ort->SetLookupDataSet(&placeTable);
        ort->SetKeyFields("Plz");
        ort->SetLookupKeyFields("Plz");
        ort->SetLookupResultField("Ort");
        table->AddField(ort);
        table->Open();
        return table;
    }

    std::unique_ptr<TTable> places;
    std::unique_ptr<fixture::ListTable> customers;
};

} // namespace

TEST_F(FieldValues, LookupFieldsAnswerTheLookupTablesResultField)
{
    customers->Next();
    TField *result = qkLookupFieldValue(customers.get(), customers->FieldByName("OrtName"));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->AsString(), "Bonn");
    customers->Next();
    EXPECT_EQ(qkLookupFieldValue(customers.get(), customers->FieldByName("OrtName")), nullptr);
    EXPECT_EQ(qkLookupFieldValue(customers.get(), customers->FieldByName("Name")), nullptr);
}

TEST_F(FieldValues, FilterValuesAreTypedLikeTheirFields)
{
    customers->First();
    const QVariant nr = qkFilterFieldValue(customers.get(), "nr");
    EXPECT_EQ(nr.typeId(), QMetaType::Int);
    EXPECT_EQ(nr.toInt(), 1);
    EXPECT_EQ(qkFilterFieldValue(customers.get(), "Name").toString(), "Müller");
    EXPECT_EQ(qkFilterFieldValue(customers.get(), "Umsatz").typeId(), QMetaType::Double);
    EXPECT_EQ(qkFilterFieldValue(customers.get(), "Aktiv").typeId(), QMetaType::Bool);
    EXPECT_DOUBLE_EQ(qkFilterFieldValue(customers.get(), "Seit").toDouble(), EncodeDate(2003, 2, 1));
    EXPECT_TRUE(qkFilterFieldValue(customers.get(), "Notiz").isNull());
    EXPECT_EQ(qkFilterFieldValue(customers.get(), "OrtName").toString(), "Köln");
}

// Values are copies, not a shared object that follows the record.
TEST_F(FieldValues, AnUnknownFieldRaisesTheDatabaseErrorAndValuesAreCopies)
{
    customers->First();
    const QVariant first = qkFilterFieldValue(customers.get(), "Name");
    customers->Next();
    EXPECT_EQ(first.toString(), "Müller");
    EXPECT_EQ(qkFilterFieldValue(customers.get(), "Name").toString(), "Meier");
    try {
        qkFilterFieldValue(customers.get(), "Fehlt");
        FAIL() << "no error raised";
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.Message(), "Fehlt: Feld „Fehlt“ nicht gefunden");
    }
}
