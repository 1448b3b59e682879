#include "ReportTestSupport.h"

#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/PreviewFile.h"
#include "platform/report/api/ReportApi.h"

using namespace report;

namespace {

// Shares the fixture's recording while the engine owns the sink.
class ForwardingSink : public PageSink
{
public:
    explicit ForwardingSink(std::shared_ptr<RecordingSink> target) : m_target(std::move(target)) {}
    int addPage(const Page &page) override { return m_target->addPage(page); }
    int finish() override { return m_target->finish(); }
    void abort() override { m_target->abort(); }

private:
    std::shared_ptr<RecordingSink> m_target;
};

}

bool writeOnePagePreview(const QString &path)
{
    PreviewSink sink(path);
    Page page;
    page.size = QSizeF(100, 100);
    return sink.addPage(page) == 0 && sink.finish() == 0;
}

void EngineFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    printers = std::make_unique<os::FakePrinterService>(dir.path());
    os::PrinterService::setInstance(printers.get());
    engine.setSinkFactory([this](int, const QString &, const QString &, const QString &, int &) {
        ++sinksMade;
        return std::make_unique<ForwardingSink>(recording);
    });
    setEngine(&engine);
}

void EngineFixture::TearDown()
{
    setEngine(nullptr);
    os::PrinterService::setInstance(nullptr);
}

QString EngineFixture::writeLayout(const QString &name, const Layout &layout)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(saveLayout(path, layout));
    return path;
}

Layout EngineFixture::invoiceLayout()
{
    Layout layout;
    layout.objects.append(textObject("Kopf", {20, 20, 100, 10}, {"\"Rechnung \" + Nr"}, font(12, true), Qt::AlignLeft,
                                     Appearance::FirstPage));
    layout.objects.append(textObject("Folgekopf", {20, 20, 100, 10}, {"\"Seite \" + Seite"}, font(10), Qt::AlignLeft,
                                     Appearance::FollowingPages));
    layout.objects.append(textObject("Fuss", {20, 280, 170, 5}, {"\"Firma\""}));
    layout.objects.append(
        textObject("Dank", {20, 5, 100, 5}, {"\"Vielen Dank\""}, font(10), Qt::AlignLeft, Appearance::AfterTable));
    TableDef table;
    table.rect = QRectF(20, 50, 170, 50);
    table.rows.append(
        tableRow(RowPart::Header, 10, {column(120, "\"Artikel\""), column(50, "\"Betrag\"", Qt::AlignRight)}));
    table.rows.append(
        tableRow(RowPart::Data, 10,
                 {column(120, "Bezeichnung"), column(50, "FStr(Betrag, \"--,---,--&.##\")", Qt::AlignRight)}));
    table.rows.append(
        tableRow(RowPart::PageFooter, 10,
                 {column(170, "\"Übertrag: \" + Trim(FStr(Übertrag, \"--,---,--&.##\"))", Qt::AlignRight)}));
    table.rows.append(tableRow(RowPart::EndFooter, 10,
                               {column(170, "\"Summe: \" + Trim(FStr(Übertrag, \"--,---,--&.##\"))", Qt::AlignRight)}));
    table.rows.append(tableRow(RowPart::EndFooter, 10, {column(170, "\"Zahlbar sofort\"")}));
    layout.table = table;
    return layout;
}

QList<int> EngineFixture::printList(int job, const QList<double> &amounts)
{
    QList<int> results;
    int page = 1;
    double carry = 0;
    LlDefineVariableExt(job, "Seite", QString::number(page), LL_NUMERIC, "");
    results << LlPrint(job);
    for (int i = 0; i < amounts.size(); ++i) {
        carry += amounts.at(i);
        LlDefineField(job, "Bezeichnung", QStringLiteral("Artikel %1").arg(i + 1));
        LlDefineFieldExt(job, "Betrag", QString::number(amounts.at(i)), LL_NUMERIC, "");
        LlDefineFieldExt(job, "Übertrag", QString::number(carry), LL_NUMERIC, "");
        int result = LlPrintFields(job);
        results << result;
        while (result == LL_WRN_REPEAT_DATA) {
            LlDefineVariableExt(job, "Seite", QString::number(++page), LL_NUMERIC, "");
            results << LlPrint(job);
            result = LlPrintFields(job);
            results << result;
        }
    }
    int end = 0;
    while ((end = LlPrintFieldsEnd(job)) == LL_WRN_REPEAT_DATA) {
        results << end;
        LlDefineVariableExt(job, "Seite", QString::number(++page), LL_NUMERIC, "");
    }
    results << end;
    return results;
}

// Under the asan preset the leak check must see through Qt's frames to find
// the leak tests/support/lsan.supp names (Qt's PNG writer on a full disk);
// the slow unwinder does, at a cost these tests can bear.
extern "C" const char *__asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
