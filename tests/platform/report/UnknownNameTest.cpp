#include "ReportTestSupport.h"

#include "platform/report/LayoutBuilder.h"
#include "platform/report/api/ReportApi.h"

using namespace report;

namespace {

class NamesOfARun : public EngineFixture
{
protected:
    // A list of five lines a page: the title on the first page, a head on
    // the following ones, a table of one data line.
    static Layout list(const char *title, const char *data, const char *following)
    {
        Layout layout;
        layout.objects.append(
            textObject("Titel", {20, 20, 170, 10}, {title}, font(12), Qt::AlignLeft, Appearance::FirstPage));
        layout.objects.append(textObject("Folgekopf", {20, 20, 170, 10}, {following}, font(10), Qt::AlignLeft,
                                         Appearance::FollowingPages));
        TableDef table;
        table.rect = QRectF(20, 50, 170, 50);
        table.rows.append(tableRow(RowPart::Data, 10, {column(170, data)}));
        layout.table = table;
        return layout;
    }

    // Prints `lines` lines as the print manager does; the first result that
    // is neither 0 nor a repeat.
    int print(int job, int lines)
    {
        LlDefineVariable(job, "auftragnr", "20260001");
        LlDefineVariable(job, "Leer", QString());
        LlDefineVariableExt(job, "Seite", "1", LL_NUMERIC, "");
        LlDefineField(job, "Bezeichnung", "Schraube");
        int result = LlPrint(job);
        for (int line = 0; line < lines && result == 0; ++line) {
            result = LlPrintFields(job);
            if (result == LL_WRN_REPEAT_DATA && (result = LlPrint(job)) == 0)
                result = LlPrintFields(job);
        }
        return result;
    }
};

}

// A name no definition made would print as nothing, a document that looks
// right and is wrong: the run is refused naming the element, and nothing of
// it is output, not even the pages before. A name defined empty is no fault.
TEST_F(NamesOfARun, ARunDrawingANameNoDefinitionMadeIsRefusedAndOutputsNothing)
{
    const struct
    {
        const char *title;
        const char *column;
        const char *following;
        const char *refused; // empty: printed
    } cases[] = {
        {"\"Rechnung Nummer \" + auftragnr + Leer", "Bezeichnung + auftragnr", "Seite", ""},
        {"\"Rechnung Nummer \" + auftragnr + \" \" + Gibtsnicht", "Bezeichnung", "Seite", "„Titel“: Gibtsnicht"},
        {"auftragnr", "FStr(steuer1, \"--,---,--&.##\")", "Seite", "„Tabelle, Datenzeile 1“: steuer1"},
        {"Bezeichnung", "Bezeichnung", "Seite", "„Titel“: Bezeichnung"},
        {"auftragnr", "Bezeichnung", "If(Seite > 1, Gibtsnicht + Auchnicht, Gibtsnicht)",
         "„Folgekopf“: Gibtsnicht, Auchnicht"},
    };
    for (const auto &c : cases) {
        recording->pages.clear();
        const int job = LlJobOpen(0);
        ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, writeLayout("liste.lst", list(c.title, c.column, c.following)),
                               LL_PRINT_NORMAL, 0),
                  0);
        const int result = print(job, 8);
        LlPrintEnd(job, 0);
        const QString refused = QString::fromUtf8(c.refused);
        EXPECT_EQ(result, refused.isEmpty() ? 0 : LL_ERR_EXPRESSION) << c.title << " " << c.column;
        EXPECT_EQ(LlGetErrorText(job).section(QStringLiteral("\r\n"), 1), refused) << c.title << " " << c.column;
        EXPECT_EQ(recording->pages.size(), refused.isEmpty() ? 2 : 0) << c.title << " " << c.column;
        LlJobClose(job);
    }
}
