#include "LibraryTables.h"

#include "lib/data/Qklocate.h"
#include "platform/db/TField.h"
#include "platform/runtime/FormatSettings.h"
#include "support/RecordingUiServices.h"

#include <gtest/gtest.h>

namespace {

class Locate : public LibraryTables
{
protected:
    void SetUp() override
    {
        LibraryTables::SetUp();
        ResetFormatSettings();
        table = openCustomers();
    }

    static int currentNr(TTable &table) { return table.FieldByName("Nr")->AsInteger(); }

    ui::ScopedRecordingUiServices user;
    std::unique_ptr<fixture::ListTable> table;
};

} // namespace

TEST_F(Locate, SearchesMatchAnywhereExactOrAtTheStartAndOtherTypesAsTheirTexts)
{
    // One search after the other; "first" starts at the top, else the
    // search goes on from the current record, which a miss keeps.
    const struct
    {
        bool first;
        const char *field;
        const char *text;
        TqkLocateMatch mode;
        bool caseSensitive;
        bool found;
        int nr;
    } searches[] = {
        {true, "Name", "MEI", lmAnywhere, false, true, 2},   {true, "Name", "hof", lmAnywhere, false, true, 4},
        {true, "Name", "Meier", lmExact, true, true, 2},     {false, "Name", "MEIER", lmExact, false, true, 5},
        {false, "Name", "Meier", lmExact, false, false, 5},  {true, "Name", "Meierho", lmExact, false, false, 5},
        {true, "Name", "meierh", lmStart, false, true, 4},   {true, "Name", "mei", lmStart, true, true, 5},
        {true, "Name", "eier", lmStart, false, false, 5},    {true, "Umsatz", "75,25", lmExact, false, true, 4},
        {true, "Umsatz", "75,250", lmExact, false, true, 4}, {true, "Seit", "29.02.2000", lmExact, false, true, 3},
        {true, "Aktiv", "false", lmExact, false, true, 2},   {true, "Nr", "3", lmExact, false, true, 3},
    };
    for (const auto &search : searches) {
        EXPECT_EQ(
            qkLocateRecord(search.first, table.get(), search.field, search.text, search.mode, search.caseSensitive),
            search.found)
            << search.field << " " << search.text;
        EXPECT_EQ(currentNr(*table), search.nr) << search.field << " " << search.text;
    }
}

TEST_F(Locate, RichTextMemosCompareByTheirPlainText)
{
    table->ControlType = {"Notiz;RichEdit"};
    table->Last();
    table->Edit();
    table->FieldByName("Notiz")->SetAsString("{\\rtf1{\\fonttbl{\\f0 Arial;}}Lieferung {\\b frei} Haus\\par}");
    table->Post();
    table->First();
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Notiz", "frei haus", lmAnywhere, false));
    EXPECT_EQ(currentNr(*table), 5);
    EXPECT_FALSE(qkLocateRecord(true, table.get(), "Notiz", "Arial", lmAnywhere, false));
}

TEST_F(Locate, KeySearchesOnTheCurrentIndex)
{
    table = openCustomers("NameIdx");
    table->Last();
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "meierhof", lmExact, false));
    EXPECT_EQ(currentNr(*table), 4);
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "Zan", lmStart, false));
    EXPECT_EQ(currentNr(*table), 3);
    EXPECT_FALSE(qkLocateRecord(true, table.get(), "Name", "Xaver", lmStart, false));
    EXPECT_EQ(currentNr(*table), 3);
    EXPECT_FALSE(qkLocateRecord(true, table.get(), "Name", "Xaver", lmExact, false));
    EXPECT_EQ(currentNr(*table), 3);
}

TEST_F(Locate, FindingTheNextMatchMovesOnAlsoOnAKeyIndex)
{
    table = openCustomers("NameIdx");
    ASSERT_TRUE(qkLocateRecord(true, table.get(), "Name", "meier", lmExact, false));
    const int first = currentNr(*table);
    ASSERT_TRUE(qkLocateRecord(false, table.get(), "Name", "meier", lmExact, false));
    const int second = currentNr(*table);
    EXPECT_NE(first, second);
    EXPECT_EQ(QSet<int>({first, second}), QSet<int>({2, 5}));
    EXPECT_FALSE(qkLocateRecord(false, table.get(), "Name", "meier", lmExact, false));
    EXPECT_EQ(currentNr(*table), second);
}

TEST_F(Locate, AnUnknownFieldIsReportedAndNothingMoves)
{
    table->Next();
    EXPECT_FALSE(qkLocateRecord(true, table.get(), "Fehlt", "x", lmExact, false));
    ASSERT_EQ(user.messages().size(), 1);
    EXPECT_EQ(user.messages()[0].text, "Field Fehlt not found.");
    EXPECT_EQ(user.messages()[0].icon, ui::MsgIcon::Warning);
    EXPECT_EQ(user.messages()[0].buttons, ui::MsgButtons::Ok);
    EXPECT_EQ(currentNr(*table), 2);
}

TEST_F(Locate, TheScanShowsTheHourGlassAndLeavesEditMode)
{
    table->Edit();
    table->FieldByName("Plz")->SetAsString("99999");
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Plz", "99999", lmExact, false));
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(user.maxBusyDepth(), 1);
    EXPECT_EQ(user.busyDepth(), 0);
    EXPECT_FALSE(table->ControlsDisabled());
}

TEST_F(Locate, ByFieldStaysOnAMatchingCurrentRecord)
{
    table->Last();
    EXPECT_TRUE(qkLocateByField(table.get(), "Name", "MEIER", lmAnywhere, false));
    EXPECT_EQ(currentNr(*table), 5);
    EXPECT_TRUE(qkLocateByField(table.get(), "Name", "Meier", lmExact, true));
    EXPECT_EQ(currentNr(*table), 2);
    EXPECT_FALSE(qkLocateByField(table.get(), "Name", "Schulz", lmExact, false));
    EXPECT_EQ(currentNr(*table), 2);
}

TEST_F(Locate, SearchTextsFollowTheFieldType)
{
    table->First();
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Nr")), "1");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Umsatz")), "1200,5");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Seit")), "01.02.2003");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Aktiv")), "True");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Notiz")), "");
}

TEST_F(Locate, ScanAndKeySearchFollowOneCaseRule)
{
    addCustomer(*table, 6, "Straße", "99999", 0, "01.01.2001");
    for (const QString &index : {QString(), QStringLiteral("NameIdx")}) {
        table = openCustomers(index);
        for (const char *value : {"STRAßE", "straße", "Straße"}) {
            table->First();
            EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", value, lmExact, false))
                << value << " " << index.toStdString();
            EXPECT_EQ(currentNr(*table), 6);
        }
        // The collation keeps "ß" and "ss" apart, so both searches do.
        EXPECT_FALSE(qkLocateRecord(true, table.get(), "Name", "STRASSE", lmExact, false)) << index.toStdString();
        EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "STRAß", lmStart, false)) << index.toStdString();
        EXPECT_FALSE(qkLocateRecord(true, table.get(), "Name", "STRASS", lmStart, false)) << index.toStdString();
    }
}
