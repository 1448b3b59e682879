#include "ReportTestSupport.h"

#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/TextMetrics.h"
#include "platform/report/api/ReportApi.h"

#include <QPushButton>
#include <QWindow>

using namespace report;

namespace {

class ListPrint : public EngineFixture
{
protected:
    int job = 0;
    QString layout;

    void SetUp() override
    {
        EngineFixture::SetUp();
        layout = writeLayout("rechnung.lst", invoiceLayout());
        job = LlJobOpen(0);
        ASSERT_GT(job, 0);
        LlDefineVariable(job, "Nr", "4711");
    }

    void TearDown() override
    {
        LlJobClose(job);
        EngineFixture::TearDown();
    }

    const Page &page(int i) const { return recording->pages.at(i); }

    // The printer a new job on the layout prints to, given the layout's own.
    QString printerFor(const QString &layoutPrinter, QString &port)
    {
        LlJobClose(job);
        if (!setLayoutPrinter(layout, layoutPrinter))
            return "<nicht gesetzt>";
        job = LlJobOpen(0);
        QString printer;
        if (LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0) != 0
            || LlPrintGetPrinterInfo(job, printer, port) != 0)
            return "<kein Start>";
        LlPrintEnd(job, 0);
        return printer;
    }
};

}

TEST_F(ListPrint, LinesFillPagesAndTheCarryComesFromTheLastPrintedLine)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    const QList<int> results = printList(job, {10, 20, 30, 40, 50, 60, 70});
    EXPECT_EQ(results, (QList<int>{0, 0, 0, 0, -998, 0, 0, 0, 0, -998, 0, 0, 0}));
    EXPECT_EQ(LlPrintGetCurrentPage(job), 3);
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    ASSERT_EQ(recording->pages.size(), 3);
    EXPECT_TRUE(recording->finished);

    EXPECT_TRUE(page(0).texts().contains("Rechnung 4711"));
    EXPECT_FALSE(page(0).texts().contains("Seite 1"));
    EXPECT_TRUE(page(1).texts().contains("Seite 2"));
    EXPECT_FALSE(page(1).texts().contains("Rechnung 4711"));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(page(i).texts().contains("Firma")) << i;

    EXPECT_TRUE(page(0).texts().contains("Übertrag: 60,00"));
    EXPECT_FALSE(page(0).findText("Artikel 4"));
    EXPECT_TRUE(page(1).texts().contains("Übertrag: 210,00"));
    EXPECT_TRUE(page(2).texts().contains("Summe: 280,00"));
    EXPECT_FALSE(page(2).findText("Übertrag"));

    // The repeated line opens the next page right below the header.
    const DrawOp *fourth = page(1).findText("Artikel 4");
    ASSERT_TRUE(fourth);
    EXPECT_NEAR(fourth->rect.top(), 60 + 0.6, 1e-6);
    EXPECT_NEAR(fourth->rect.left(), 21, 1e-6);
    const DrawOp *amount = page(1).findText("40,00");
    ASSERT_TRUE(amount);
    EXPECT_EQ(amount->align, Qt::AlignRight);
    EXPECT_EQ(amount->object, "Tabelle");
    EXPECT_EQ(page(1).texts().count("Artikel 4"), 1);
    EXPECT_EQ(page(1).texts().count("Artikel"), 1);
}

TEST_F(ListPrint, EndFooterThatDoesNotFitGoesToAnotherPage)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    const QList<int> results = printList(job, {1, 2, 3});
    EXPECT_EQ(results, (QList<int>{0, 0, 0, 0, -998, 0}));
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    ASSERT_EQ(recording->pages.size(), 2);
    EXPECT_TRUE(page(0).texts().contains("Übertrag: 6,00"));
    EXPECT_FALSE(page(0).findText("Summe"));
    EXPECT_TRUE(page(1).texts().contains("Summe: 6,00"));
    EXPECT_TRUE(page(1).texts().contains("Seite 2"));
    const DrawOp *thanks = page(1).findText("Vielen Dank");
    ASSERT_TRUE(thanks);
    EXPECT_NEAR(thanks->rect.top(), 60 + 20 + 5, 1e-6);
}

TEST_F(ListPrint, ALineTallerThanTheTableIsClippedInsteadOfRepeated)
{
    Layout tall = invoiceLayout();
    tall.table->rows[1].height = 80;
    const QString path = writeLayout("hoch.lst", tall);
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, path, LL_PRINT_NORMAL, 0), 0);
    LlDefineVariableExt(job, "Seite", "1", LL_NUMERIC, "");
    LlDefineField(job, "Bezeichnung", "Riesig");
    LlDefineFieldExt(job, "Betrag", "1", LL_NUMERIC, "");
    LlDefineFieldExt(job, "Übertrag", "1", LL_NUMERIC, "");
    ASSERT_EQ(LlPrint(job), 0);
    EXPECT_EQ(LlPrintFields(job), 0);
    EXPECT_EQ(LlPrintFields(job), -998);
    EXPECT_EQ(LlPrint(job), 0);
    EXPECT_EQ(LlPrintFields(job), 0);
    LlPrintEnd(job, 0);
    ASSERT_EQ(recording->pages.size(), 2);
    const DrawOp *cell = page(0).findText("Riesig");
    ASSERT_TRUE(cell);
    EXPECT_LE(cell->rect.bottom(), 100 + 1e-6);
}

TEST_F(ListPrint, WrappedLinesGrowAndConditionsChooseTheLine)
{
    Layout wrapping = invoiceLayout();
    wrapping.table->rect.setHeight(200);
    wrapping.table->rows[1] =
        tableRow(RowPart::Data, 5, {column(40, "Bezeichnung", Qt::AlignLeft, font(10), true)}, "TextPos = False");
    wrapping.table->rows.insert(
        2, tableRow(RowPart::Data, 5, {column(170, "\"Hinweis: \" + Bezeichnung", Qt::AlignLeft, font(9, false, true))},
                    "TextPos"));
    const QString path = writeLayout("wrap.lst", wrapping);
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, path, LL_PRINT_NORMAL, 0), 0);
    LlPrint(job);
    LlDefineField(job, "Bezeichnung", "Ein sehr langer Artikeltext, der sicher über mehrere Zeilen umbrochen wird");
    LlDefineFieldExt(job, "TextPos", "false", LL_BOOLEAN, "");
    ASSERT_EQ(LlPrintFields(job), 0);
    LlDefineField(job, "Bezeichnung", "Lieferung frei Haus");
    LlDefineFieldExt(job, "TextPos", "J", LL_BOOLEAN, "");
    ASSERT_EQ(LlPrintFields(job), 0);
    LlPrintEnd(job, 0);
    const DrawOp *longText = page(0).findText("Ein sehr langer");
    const DrawOp *note = page(0).findText("Hinweis: Lieferung");
    ASSERT_TRUE(longText && note);
    EXPECT_EQ(QString(longText->text).replace('\n', ' '),
              "Ein sehr langer Artikeltext, der sicher über mehrere Zeilen umbrochen wird");
    EXPECT_GE(longText->text.count('\n'), 2);
    EXPECT_GT(note->rect.top() - longText->rect.top(), 10);
    EXPECT_FALSE(page(0).findText("Hinweis: Ein sehr"));
    EXPECT_TRUE(note->font.italic);
}

TEST_F(ListPrint, LayoutProblemsGiveTheirCodes)
{
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, dir.filePath("fehlt.lst"), LL_PRINT_NORMAL, 0), LL_ERR_LAYOUT);
    Layout broken = invoiceLayout();
    broken.objects[0] = textObject("Kopf", {20, 20, 100, 10}, {"\"Rechnung \" + "});
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, writeLayout("kaputt.lst", broken), LL_PRINT_NORMAL, 0),
              LL_ERR_EXPRESSION);
    Layout noTable = invoiceLayout();
    noTable.table.reset();
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, writeLayout("ohne.lst", noTable), LL_PRINT_NORMAL, 0),
              LL_ERR_NO_TABLE);
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, writeLayout("leer.lst", Layout{}), LL_PRINT_NORMAL, 0),
              LL_ERR_NOTHING_PRINTABLE);
    Layout label;
    label.type = Layout::Type::Label;
    label.objects.append(textObject("A", {0, 0, 10, 10}, {"\"x\""}));
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, writeLayout("etikett.lbl", label), LL_PRINT_NORMAL, 0), LL_ERR_LAYOUT);
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LABEL, layout, LL_PRINT_NORMAL, 0), LL_ERR_LAYOUT);
    EXPECT_EQ(sinksMade, 0);
    // A form (kind 3) may do without a table.
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_CARD, writeLayout("ohne.lst", noTable), LL_PRINT_NORMAL, 0), 0);
    EXPECT_EQ(LlPrintFields(job), LL_ERR_NO_TABLE);
    LlPrintEnd(job, 0);
}

TEST_F(ListPrint, TheLayoutNameMayComeWithoutExtensionInWindowsStyle)
{
    const QString stored = QString(layout).chopped(4).replace('/', '\\').toUpper();
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, stored, LL_PRINT_NORMAL, 0), 0);
    EXPECT_EQ(LlPrintEnd(job, 0), 0);
    EXPECT_TRUE(recording->pages.isEmpty()) << "a start followed by the end outputs nothing";
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, stored, LL_PRINT_NORMAL, 0), 0);
    printList(job, {1});
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    EXPECT_EQ(recording->pages.size(), 1);
}

TEST_F(ListPrint, PrinterOfTheLayoutOrTheCurrentOne)
{
    QString port;
    EXPECT_EQ(printerFor("", port), "Tintlen PDF");
    EXPECT_EQ(port, "PDF");
    EXPECT_EQ(printerFor("Etikettendrucker", port), "Etikettendrucker");
    EXPECT_EQ(port, "LPT3:");
    EXPECT_EQ(LlSetPrinterToDefault(job, LL_PROJECT_LIST, layout), 0);
    EXPECT_TRUE(layoutPrinter(layout).isEmpty());
    EXPECT_EQ(printerFor("Abgebauter Drucker", port), "Tintlen PDF");
}

TEST_F(ListPrint, CopiesAreExchangedNotMultiplied)
{
    EXPECT_EQ(LlPrintGetOption(job, LL_PRNOPT_COPIES), 1);
    EXPECT_EQ(LlPrintGetOption(job, LL_PRNOPT_LASTPAGE), 9999);
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    EXPECT_EQ(LlPrintSetOption(job, LL_PRNOPT_COPIES, 3), 0);
    EXPECT_EQ(LlPrintGetOption(job, LL_PRNOPT_COPIES), 3);
    for (int copy = 1; copy <= 2; ++copy) {
        if (copy > 1) {
            ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
        }
        LlDefineVariableExt(job, "Exemplar", QString::number(copy), LL_NUMERIC, "");
        printList(job, {5});
        ASSERT_EQ(LlPrintEnd(job, 0), 0);
    }
    EXPECT_EQ(recording->pages.size(), 2);
    EXPECT_EQ(sinksMade, 2);
}

TEST_F(ListPrint, AbortThroughTheProgressBox)
{
    ASSERT_EQ(LlPrintWithBoxStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 1, nullptr, "Rechnung"), 0);
    ASSERT_TRUE(engine.progressBox());
    EXPECT_EQ(engine.progressBox()->windowTitle(), "Rechnung");
    // On the screen before the first page is made, not at the first progress.
    ASSERT_TRUE(engine.progressBox()->windowHandle());
    EXPECT_TRUE(engine.progressBox()->windowHandle()->isExposed());
    EXPECT_EQ(LlPrint(job), 0);
    EXPECT_EQ(LlPrintSetBoxText(job, "Drucke Rechnung", 50), 0);
    EXPECT_EQ(engine.progressBox()->text(), "Drucke Rechnung");
    EXPECT_EQ(engine.progressBox()->percent(), 50);
    engine.progressBox()->abortButton()->click();
    EXPECT_EQ(LlPrintSetBoxText(job, "Drucke Rechnung", 60), LL_ERR_USER_ABORTED);
    EXPECT_EQ(LlPrintFields(job), LL_ERR_USER_ABORTED);
    EXPECT_EQ(LlPrint(job), LL_ERR_USER_ABORTED);
    EXPECT_EQ(LlPrintFieldsEnd(job), LL_ERR_USER_ABORTED);
    EXPECT_EQ(LlPrintEnd(job, 0), 0);
    EXPECT_TRUE(recording->aborted);
    EXPECT_TRUE(recording->pages.isEmpty());
    EXPECT_FALSE(engine.progressBox());
}

TEST_F(ListPrint, JobsAndHandles)
{
    EXPECT_EQ(LlJobOpen(0), LL_ERR_GENERAL);
    EXPECT_EQ(LlPrint(job + 1), LL_ERR_GENERAL);
    EXPECT_EQ(LlPrint(job), LL_ERR_GENERAL);
    EXPECT_EQ(LlSetDlgboxMode(LL_DLGBOXMODE_PRINT_MANAGER), 0);
    EXPECT_EQ(LlSetOption(job, LL_OPTION_RUN_STANDARD, LL_OPTION_ON), 0);
    ASSERT_EQ(LlJobClose(job), 0);
    const int next = LlJobOpen(0);
    EXPECT_GT(next, job);
    job = next;
}

TEST_F(ListPrint, DefinitionsSurvivePrintEndAndRedefinitionReplaces)
{
    LlDefineVariable(job, "Nr", "4712");
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    printList(job, {1});
    LlPrintEnd(job, 0);
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    LlPrint(job);
    LlPrintFieldsEnd(job);
    LlPrintEnd(job, 0);
    ASSERT_EQ(recording->pages.size(), 2);
    EXPECT_TRUE(page(1).texts().contains("Rechnung 4712"));
    EXPECT_TRUE(page(1).texts().contains("Summe: 1,00"));
}

// A value wider than its box never loses a character: kept-whole text is
// set smaller down to a floor and breaks below it, wrapped text breaks
// inside a word longer than its column; every line stays inside its box.
TEST_F(ListPrint, TextWiderThanItsBoxKeepsEveryCharacterInsideTheBox)
{
    const QString number = QStringLiteral("1.234.554.321,33");
    const QString mail = QStringLiteral("hj.mueller@mueller-soehne.de");
    const QString overLong = QStringLiteral("Sehr-lange-Zahl 123456789012345678901234567890");
    const struct
    {
        const char *where; // "Text": a text object, else a column
        Qt::Alignment align;
        bool wrap;
        double width;
        QString value;
        int lines;
        bool shrunk;
    } cases[] = {
        {"Text", Qt::AlignRight, false, 20, "24,00 Kartusche", 1, true},
        {"Text", Qt::AlignLeft, false, 20, "24,00 Kartusche", 1, true},
        {"Text", Qt::AlignHCenter, false, 20, "24,00 Kartusche", 1, true},
        {"Text", Qt::AlignRight, false, 40, "24,00 Kartusche", 1, false},
        {"Text", Qt::AlignLeft, true, 20, mail, 3, false},
        {"Tabelle", Qt::AlignRight, false, 25, number, 1, true},
        {"Tabelle", Qt::AlignRight, false, 12, number, 2, true},
        {"Tabelle", Qt::AlignLeft, true, 30, mail, 2, false},
        {"Tabelle", Qt::AlignHCenter, true, 30, overLong, 4, false},
    };
    for (const auto &c : cases) {
        const std::string trace = std::string(c.where) + " " + c.value.toStdString() + " " + std::to_string(c.width);
        Layout narrow = invoiceLayout();
        if (QLatin1String(c.where) == QLatin1String("Text")) {
            LayoutObject head = textObject("Text", {20, 30, c.width, 5}, {"Wert"}, font(10), c.align);
            head.wrap = c.wrap;
            narrow.objects.append(head);
        } else {
            narrow.table->rows[1] =
                tableRow(RowPart::Data, 5, {column(c.width + 2, "Wert", c.align, font(10), c.wrap)});
        }
        recording->pages.clear();
        ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, writeLayout("eng.lst", narrow), LL_PRINT_NORMAL, 0), 0);
        LlDefineVariable(job, "Wert", c.value);
        LlDefineField(job, "Wert", c.value);
        for (const char *name : {"Übertrag", "Betrag", "Bezeichnung"})
            LlDefineField(job, name, "0");
        LlPrint(job);
        ASSERT_EQ(LlPrintFields(job), 0) << trace;
        LlPrintEnd(job, 0);
        ASSERT_FALSE(recording->pages.isEmpty()) << trace;
        const DrawOp *drawn = nullptr;
        for (const DrawOp &op : page(0).ops) {
            if (op.kind == DrawOp::Kind::Text && op.object == QLatin1String(c.where)
                && QString(op.text).remove('\n').remove(' ') == QString(c.value).remove(' '))
                drawn = &op;
        }
        ASSERT_TRUE(drawn) << trace;
        const QStringList lines = drawn->text.split('\n');
        EXPECT_EQ(lines.size(), c.lines) << trace << " " << drawn->text.toStdString();
        EXPECT_EQ(drawn->font.size < 10, c.shrunk) << trace;
        EXPECT_GE(drawn->font.size, 10 * kSmallestShrink) << trace;
        EXPECT_EQ(drawn->align, c.align) << trace;
        for (const QString &line : lines)
            EXPECT_LE(textWidthMm(line, drawn->font), drawn->rect.width() + 1e-6) << trace << " " << line.toStdString();
        if (c.lines > 1 && QLatin1String(c.where) == QLatin1String("Tabelle")) {
            EXPECT_GE(drawn->rect.height() + 0.6, (FittedText{lines, drawn->font}.heightMm())) << trace;
        }
    }
}
