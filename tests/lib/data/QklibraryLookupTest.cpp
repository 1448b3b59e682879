#include "LibraryTables.h"

#include "lib/data/Qklookup.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TField.h"
#include "support/RecordingUiServices.h"

#include <gtest/gtest.h>

namespace {

// Kunden gets calculated fields filled from Orte.
class LibraryLookups : public LibraryTables
{
protected:
    void SetUp() override
    {
        LibraryTables::SetUp();
        createPlaces();
    }

    std::unique_ptr<fixture::ListTable> customersLookingUp(const QStringList &fields, const QStringList &links)
    {
        auto table = std::make_unique<fixture::ListTable>();
        table->SetDatabaseName(folder());
        table->SetTableName("Kunden");
        for (const char *name : {"OrtName", "OrtInfo", "Land"})
            table->AddField(CreateField(table.get(), name, ftString, 40, fkCalculated));
        table->LookupFields = fields;
        table->LookupLinks = links;
        table->SetOnCalcFields([this](TDataSet *dataSet) {
            dataSet->FieldByName("Land")->SetAsString("D");
            qkLookupFieldGetText(dataSet, lookups);
        });
        table->Open();
        return table;
    }

    QStringList column(TTable &table, const QString &field)
    {
        QStringList values;
        for (table.First(); !table.Eof(); table.Next())
            values << table.FieldByName(field)->AsString();
        return values;
    }

    TqkLookupTables lookups;
    ui::ScopedRecordingUiServices user;
};

} // namespace

TEST(LookupFieldLines, FiveOrMorePartsAreRead)
{
    EXPECT_FALSE(TqkLookupFieldLine::Parse("A;B;C;D").has_value());
    const TqkLookupFieldLine five = *TqkLookupFieldLine::Parse("OrtName;DATA;Orte.db;Ort;PlzIdx");
    EXPECT_EQ(five.IndexName, "PlzIdx");
    EXPECT_TRUE(five.IndexFields.isEmpty());
    EXPECT_EQ(five.EffectiveTableName(), "Orte.db");
    const TqkLookupFieldLine seven = *TqkLookupFieldLine::Parse("OrtName;DATA;Orte.db;Ort;Land;Plz;N");
    EXPECT_EQ(seven.IndexFields, (QStringList{"Land", "Plz"}));
    EXPECT_TRUE(seven.CutTableName);
    EXPECT_EQ(seven.EffectiveTableName(), "Orte");
    EXPECT_FALSE(TqkLookupFieldLine::Parse("OrtName;DATA;Orte.db;Ort;Plz;J")->CutTableName);
}

TEST_F(LibraryLookups, AnIndexNamedInTheLineFindsTheResultAlsoForTheFilterDialog)
{
    auto customers = customersLookingUp({"OrtName;" + folder() + ";Orte.db;Ort;PlzIdx"}, {"Plz;Plz"});
    EXPECT_EQ(column(*customers, "OrtName"), (QStringList{"Köln", "Bonn", "", "", ""}));
    EXPECT_EQ(lookups.Count(), 1);
    // The filter dialog reads the library's lookup values.
    customers->First();
    customers->Next();
    TField *result = qkLookupFieldValue(customers.get(), customers->FieldByName("ortname"), &lookups);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->AsString(), "Bonn");
    EXPECT_EQ(qkFilterFieldValue(customers.get(), "OrtName", &lookups).toString(), "Bonn");
    EXPECT_EQ(qkLookupFieldValue(customers.get(), customers->FieldByName("OrtInfo"), &lookups), nullptr);
}

TEST_F(LibraryLookups, IndexFieldsChooseTheIndexAndSeveralFieldsShareOneTable)
{
    const QString table = ";" + folder() + ";Orte.db;";
    auto customers = customersLookingUp({"OrtName" + table + "Ort;Land;Plz;N", "OrtInfo" + table + "Info;Land;Plz;N"},
                                        {"Land;Land;Plz;Plz", "Land;Land;Plz;Plz"});
    EXPECT_EQ(column(*customers, "OrtName"), (QStringList{"Köln", "Bonn", "", "", ""}));
    EXPECT_EQ(column(*customers, "OrtInfo"), (QStringList{"Info Köln", "Info Bonn", "", "", ""}));
    EXPECT_EQ(lookups.Count(), 1);
}

TEST_F(LibraryLookups, WithoutAnIndexTheFirstLinkIsLocated)
{
    auto customers = customersLookingUp({"OrtName;" + folder() + ";Orte.db;Ort;Info;N"}, {"Plz;Plz"});
    EXPECT_EQ(column(*customers, "OrtName"), (QStringList{"Köln", "Bonn", "", "", ""}));
}

TEST_F(LibraryLookups, AMissingLinkFieldHidesTheLookupField)
{
    auto customers = customersLookingUp({"OrtName;" + folder() + ";Orte.db;Ort;PlzIdx"}, {"Postleitzahl;Plz"});
    EXPECT_FALSE(customers->FieldByName("OrtName")->Visible());
    EXPECT_EQ(customers->FieldByName("OrtName")->AsString(), "");
}

TEST_F(LibraryLookups, TooManyKeyValuesAreReported)
{
    auto customers = customersLookingUp({"OrtName;" + folder() + ";Orte.db;Ort;PlzIdx"}, {"Land;Land;Plz;Plz"});
    EXPECT_EQ(customers->FieldByName("OrtName")->AsString(), "");
    ASSERT_FALSE(user.messages().isEmpty());
    EXPECT_TRUE(user.messages()[0].text.endsWith(": FindKey has too many lookup values for index PlzIdx"));
}
