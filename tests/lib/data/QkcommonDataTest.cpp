#include "LibraryTables.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/QkcommonData.h"
#include "lib/data/Qkdatsrc.h"
#include "lib/data/Qkintl.h"
#include "lib/data/Qkprops.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <gtest/gtest.h>

// Every test starts with the customers table open.
class CustomersOpen : public LibraryTables
{
protected:
    void SetUp() override
    {
        LibraryTables::SetUp();
        table = openCustomers();
    }
    std::unique_ptr<fixture::ListTable> table;
};
using CheckBeforePost = CustomersOpen;
using FieldLayout = CustomersOpen;
using FieldTests = CustomersOpen;

TEST_F(CheckBeforePost, AnIncompleteMaskedValueStopsThePostWithTheDisplayName)
{
    table->PictureMasks = {"plz\t#####\tT\tT"};
    table->FieldByName("Plz")->SetDisplayLabel("Postleitzahl");
    table->Edit();
    table->FieldByName("Plz")->SetAsString("123");
    QStringList invalid;
    try {
        qkValidateFieldPicture(table.get(), [&](TDataSet *, TField *field) { invalid << field->FieldName(); });
        FAIL() << "no error raised";
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.Message(), "Invalid characters. Field : Postleitzahl");
    }
    EXPECT_EQ(invalid, QStringList{"Plz"});

    // Empty, complete and read-only values pass.
    table->PictureMasks = {"Plz\t#####\tT\tT", "Name\t&*?\tF\tF"};
    table->FieldByName("Plz")->SetAsString("");
    EXPECT_NO_THROW(qkValidateFieldPicture(table.get(), {}));
    table->FieldByName("Plz")->SetAsString("50667");
    EXPECT_NO_THROW(qkValidateFieldPicture(table.get(), {}));
    table->FieldByName("Name")->SetAsString("1x");
    table->FieldByName("Name")->SetReadOnly(true);
    EXPECT_NO_THROW(qkValidateFieldPicture(table.get(), {}));
    table->FieldByName("Name")->SetReadOnly(false);
    EXPECT_THROW(qkValidateFieldPicture(table.get(), {}), EDatabaseError);
}

TEST_F(FieldLayout, FillListsTheVisibleFieldsInOrder)
{
    table->FieldByName("Plz")->SetVisible(false);
    table->FieldByName("Name")->SetDisplayWidth(12);
    table->FieldByName("Name")->SetDisplayLabel("Kunde");
    QStringList list{"stale"};
    qkFillFieldList(table.get(), list);
    ASSERT_EQ(list.size(), table->FieldCount() - 1);
    EXPECT_EQ(list[1], "Name\t12\tKunde");
}

TEST_F(FieldLayout, ApplyShowsOnlyTheListedFieldsInListOrder)
{
    qkApplyFieldLayout(table.get(), {"PLZ\t5\tPostleitzahl", "Fehlt\t3\tx", "name\t20\tKunde"});
    QStringList visible;
    for (const TField *field : table->FieldList()) {
        if (field->Visible())
            visible << field->FieldName() + "/" + QString::number(field->Index()) + "/" + field->DisplayLabel();
    }
    EXPECT_EQ(visible, (QStringList{"Plz/0/Postleitzahl", "Name/2/Kunde"}));
    EXPECT_EQ(table->FieldByName("Name")->DisplayWidth(), 20);
    EXPECT_FALSE(table->ControlsDisabled());

    // What is applied reads back through the list.
    qkApplyFieldLayout(table.get(), {"Umsatz\t10\tUmsatz in €", "Nr\t4\tNr."});
    QStringList list;
    qkFillFieldList(table.get(), list);
    EXPECT_EQ(list, (QStringList{"Umsatz\t10\tUmsatz in €", "Nr\t4\tNr."}));
}

TEST_F(FieldLayout, ABadWidthChangesNothingAndEnablesControlsAgain)
{
    QStringList before;
    qkFillFieldList(table.get(), before);
    EXPECT_THROW(qkApplyFieldLayout(table.get(), {"Plz\t5\tPLZ", "Name\tbreit\tKunde"}), EConvertError);
    QStringList after;
    qkFillFieldList(table.get(), after);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(table->ControlsDisabled());
}

TEST_F(FieldTests, DisplayLabelsMatchWithTildesAsBlanks)
{
    table->FieldByName("Plz")->SetDisplayLabel("Post~leitzahl");
    QString name;
    EXPECT_TRUE(qkFieldNameForDisplayLabel(table.get(), "Post leitzahl", name));
    EXPECT_EQ(name, "Plz");
    EXPECT_TRUE(qkFieldNameForDisplayLabel(table.get(), "Post~leitzahl", name));
    EXPECT_FALSE(qkFieldNameForDisplayLabel(table.get(), "post leitzahl", name));
}

TEST_F(FieldTests, MissingFieldLinesGoWithTheirLinkLines)
{
    QStringList lookupFields{"Old;DATA;Orte;Ort;PlzIdx", "Name;DATA;Orte;Ort;PlzIdx", "NR;DATA;X;Y;Z"};
    QStringList lookupLinks{"Plz;Plz", "Nr;Nr", "Nr;Id"};
    QStringList controlType{"Aktiv;CheckBox", "Gone;Combo;cbo", "notiz;RichEdit"};
    qkRemoveMissingFieldLines(table.get(), &lookupFields, &lookupLinks, &controlType);
    EXPECT_EQ(lookupFields, (QStringList{"Name;DATA;Orte;Ort;PlzIdx", "NR;DATA;X;Y;Z"}));
    EXPECT_EQ(lookupLinks, (QStringList{"Nr;Nr", "Nr;Id"}));
    EXPECT_EQ(controlType, (QStringList{"Aktiv;CheckBox", "notiz;RichEdit"}));
    QStringList onlyControls{"Gone;Combo"};
    qkRemoveMissingFieldLines(table.get(), nullptr, nullptr, &onlyControls);
    EXPECT_TRUE(onlyControls.isEmpty());
}

TEST_F(FieldTests, ClassKindSearchableTypesAndSameRecords)
{
    EXPECT_TRUE(qkIsLibraryDataSet(table.get()));
    TTable plain;
    EXPECT_FALSE(qkIsLibraryDataSet(&plain));
    EXPECT_FALSE(qkIsLibraryDataSet(nullptr));
    EXPECT_FALSE(qkIsLookupOrCalcField(table->FieldByName("Name")));
    EXPECT_FALSE(qkIsNonEngineField(table->FieldByName("Name")));
    EXPECT_TRUE(qkInheritsFromName(table.get(), "TBDEDataSet"));
    for (TFieldType type : {ftBytes, ftVarBytes, ftBlob, ftGraphic})
        EXPECT_FALSE(qkIsSearchableFieldType(type)) << type;
    for (TFieldType type : {ftString, ftInteger, ftMemo, ftFmtMemo, ftDate, ftBoolean, ftCurrency})
        EXPECT_TRUE(qkIsSearchableFieldType(type)) << type;
    table->First();
    const TBookmark first = table->GetBookmark();
    table->Next();
    const TBookmark second = table->GetBookmark();
    EXPECT_FALSE(qkSameRecord(qkCompareBookmarks(table.get(), first, second)));
    EXPECT_TRUE(qkSameRecord(qkCompareBookmarks(table.get(), second, table->GetBookmark())));
}

TEST_F(FieldTests, ValueTextsAreCheckedByFieldType)
{
    EXPECT_TRUE(qkIsValidValueText(table->FieldByName("Nr"), "-12"));
    EXPECT_FALSE(qkIsValidValueText(table->FieldByName("Nr"), "1,5"));
    EXPECT_TRUE(qkIsValidValueText(table->FieldByName("Umsatz"), "1,5"));
    EXPECT_FALSE(qkIsValidValueText(table->FieldByName("Seit"), "31.4.2000"));
    EXPECT_TRUE(qkIsValidValueText(table->FieldByName("Seit"), "30.4.2000"));
    EXPECT_TRUE(qkIsValidValueText(table->FieldByName("Name"), "alles"));
    EXPECT_TRUE(qkIsValidTextForFieldType(ftDateTime, "30.4.2000"));
    EXPECT_TRUE(qkIsValidTextForFieldType(ftDateTime, "30.4.2000 10:15"));
    EXPECT_FALSE(qkIsValidTextForFieldType(ftTime, "25:00"));
}

TEST_F(FieldTests, RichTextFieldsByControlTypeOrContent)
{
    table->First();
    TField *notiz = table->FieldByName("Notiz");
    EXPECT_FALSE(qkIsRichTextField(notiz, true));
    table->ControlType = {"Notiz;RichEdit"};
    EXPECT_TRUE(qkIsRichTextField(notiz, false));
    table->ControlType.clear();
    table->Edit();
    notiz->SetAsString("{\\rtf1 Hallo}");
    EXPECT_FALSE(qkIsRichTextField(notiz, false));
    EXPECT_TRUE(qkIsRichTextField(notiz, true));
    EXPECT_FALSE(qkIsRichTextField(table->FieldByName("Name"), true));
}

TEST(DataSources, ControlsTakeOnlyDataSourcesByName)
{
    TqkDataSource source;
    EXPECT_TRUE(qkInheritsFromName(&source, "TDataSource"));
    fixture::DataSourceControl control;
    EXPECT_TRUE(qkSetDataSource(&control, &source));
    EXPECT_EQ(control.DataSource, &source);
    EXPECT_EQ(qkGetDataSource(&control), &source);
    QObject notASource;
    EXPECT_FALSE(qkSetDataSource(&control, &notASource));
    EXPECT_EQ(control.DataSource, &source);
    EXPECT_TRUE(qkSetDataSource(&control, nullptr));
    EXPECT_EQ(control.DataSource, nullptr);
}
