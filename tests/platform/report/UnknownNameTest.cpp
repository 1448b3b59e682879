#include "ReportTestSupport.h"

#include "platform/report/api/ReportApi.h"

using namespace report;

namespace {

class NamesOfARun : public EngineFixture
{};

}

// A name no definition made would print as nothing, a document that looks
// right and is wrong: the run is refused naming the element, and nothing of
// it is output, not even the pages before. A name defined empty is no fault.
TEST_F(NamesOfARun, ARunDrawingANameNoDefinitionMadeIsRefusedAndOutputsNothing)
{
    const struct
    {
        const char *head;      // first page
        const char *line;      // the table's data line
        const char *following; // head of the following pages
        const char *refused;   // empty: printed
    } cases[] = {
        {"\"Rechnung \" + Nr + Leer", "Bezeichnung + Nr", "Seite", ""},
        {"\"Rechnung Nummer \" + Nr + \" \" + Gibtsnicht", "Bezeichnung", "Seite", "„Kopf“: Gibtsnicht"},
        {"Nr", "FStr(steuer1, \"--,---,--&.##\")", "Seite", "„Tabelle, Datenzeile 2“: steuer1"},
        {"Bezeichnung", "Bezeichnung", "Seite", "„Kopf“: Bezeichnung"},
        {"Nr", "Bezeichnung", "If(Seite > 1, Gibtsnicht + Auchnicht, Gibtsnicht)",
         "„Folgekopf“: Gibtsnicht, Auchnicht"},
    };
    for (const auto &c : cases) {
        recording->pages.clear();
        Layout layout = invoiceLayout();
        layout.objects[0].lines = {Expression(QString::fromUtf8(c.head))};
        layout.objects[1].lines = {Expression(QString::fromUtf8(c.following))};
        layout.table->rows[1].columns[0].expression = Expression(QString::fromUtf8(c.line));
        const int job = LlJobOpen(0);
        ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, writeLayout("liste.lst", layout), LL_PRINT_NORMAL, 0), 0);
        LlDefineVariable(job, "Nr", "20260001");
        LlDefineVariable(job, "Leer", QString());
        LlDefineField(job, "Bezeichnung", "Schraube");
        const QList<int> results = printList(job, {1, 2, 3, 4, 5});
        LlPrintEnd(job, 0);
        const QString refused = QString::fromUtf8(c.refused);
        EXPECT_EQ(results.contains(LL_ERR_EXPRESSION), !refused.isEmpty()) << c.head << " " << c.line;
        EXPECT_EQ(LlGetErrorText(job).section(QStringLiteral("\r\n"), 1), refused) << c.head << " " << c.line;
        EXPECT_EQ(recording->pages.size(), refused.isEmpty() ? 2 : 0) << c.head << " " << c.line;
        LlJobClose(job);
    }
}
