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
    }

    static int currentNr(TTable &table) { return table.FieldByName("Nr")->AsInteger(); }

    ui::ScopedRecordingUiServices user;
};

} // namespace

TEST_F(Locate, AnywhereIgnoringCaseFindsThePartInsideAName)
{
    auto table = openCustomers();
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "MEI", lmAnywhere, false));
    EXPECT_EQ(currentNr(*table), 2);
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "hof", lmAnywhere, false));
    EXPECT_EQ(currentNr(*table), 4);
}

TEST_F(Locate, ExactSearchesWantTheWholeText)
{
    auto table = openCustomers();
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "Meier", lmExact, true));
    EXPECT_EQ(currentNr(*table), 2);
    EXPECT_TRUE(qkLocateRecord(false, table.get(), "Name", "MEIER", lmExact, false));
    EXPECT_EQ(currentNr(*table), 5);
    EXPECT_FALSE(qkLocateRecord(false, table.get(), "Name", "Meier", lmExact, false));
    EXPECT_EQ(currentNr(*table), 5);
    EXPECT_FALSE(qkLocateRecord(true, table.get(), "Name", "Meierho", lmExact, false));
    EXPECT_EQ(currentNr(*table), 5);
}

TEST_F(Locate, StartMatchesRespectCase)
{
    auto table = openCustomers();
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "meierh", lmStart, false));
    EXPECT_EQ(currentNr(*table), 4);
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Name", "mei", lmStart, true));
    EXPECT_EQ(currentNr(*table), 5);
    EXPECT_FALSE(qkLocateRecord(true, table.get(), "Name", "eier", lmStart, false));
}

TEST_F(Locate, ValuesOfOtherTypesCompareAsTheirTexts)
{
    auto table = openCustomers();
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Umsatz", "75,25", lmExact, false));
    EXPECT_EQ(currentNr(*table), 4);
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Umsatz", "75,250", lmExact, false));
    EXPECT_EQ(currentNr(*table), 4);
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Seit", "29.02.2000", lmExact, false));
    EXPECT_EQ(currentNr(*table), 3);
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Aktiv", "false", lmExact, false));
    EXPECT_EQ(currentNr(*table), 2);
    EXPECT_TRUE(qkLocateRecord(true, table.get(), "Nr", "3", lmExact, false));
    EXPECT_EQ(currentNr(*table), 3);
}

TEST_F(Locate, RichTextMemosCompareByTheirPlainText)
{
    auto table = openCustomers();
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
    auto table = openCustomers("NameIdx");
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
    auto table = openCustomers("NameIdx");
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
    auto table = openCustomers();
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
    auto table = openCustomers();
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
    auto table = openCustomers();
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
    auto table = openCustomers();
    table->First();
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Nr")), "1");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Umsatz")), "1200,5");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Seit")), "01.02.2003");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Aktiv")), "True");
    EXPECT_EQ(qkFieldSearchText(table->FieldByName("Notiz")), "");
}
