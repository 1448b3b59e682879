#include "ReportTestSupport.h"

#include "demo/layouts/DemoLayouts.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/api/ReportApi.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

using namespace report;

namespace {

// Defines what the print manager defines for an invoice head.
void defineInvoiceHead(int job)
{
    const QList<QPair<QString, QString>> texts = {
        {"Firmenabsender", "Bürotechnik Sommer GmbH · Lindenstraße 12 · 35390 Gießen"},
        {"Kunde_Anrede", "Firma"},
        {"Kunde_Vorname", ""},
        {"Kunde_Name", "Schreinerei Albrecht KG"},
        {"Kunde_Name2", "z. Hd. Frau Jansen"},
        {"Kunde_Strasse", "Am Mühlbach 7"},
        {"Kunde_plz", "35578"},
        {"Kunde_Ort", "Wetzlar"},
        {"Kunde_Land", "D"},
        {"Land-Name", "Deutschland"},
        {"auftragnr", "20417"},
        {"kundennr", "10023"},
        {"Datum", "14.11.2026"},
        {"RGDatum", "14.11.2026"},
        {"Kopftext", "Sehr geehrte Frau Jansen,\nfür unsere Lieferung vom 12.11.2026 berechnen wir Ihnen:"},
        {"Währung", "EUR"},
        {"SteuerBezeichnung", "MwSt."},
        {"ZahlbarBisDatum", "28.11.2026"},
        {"SkontoBisDatum", "21.11.2026"},
        {"Bank1", "Volksbank Mittelhessen"},
        {"BLZ1", "51390000"},
        {"KtoNr1", "12345678"},
        {"ZahlFormatMenge", "--,---,--&"},
        {"ZahlFormatPreis", "--,---,--&.##"},
        {"ZahlFormatGPreis", "--,---,--&.##"}};
    for (const auto &[name, value] : texts)
        LlDefineVariable(job, name, value);
    LlDefineVariableExt(job, "Exemplar", "1", LL_NUMERIC, "");
    LlDefineVariableExt(job, "Steuersatz1", "19", LL_NUMERIC, "");
    LlDefineVariableExt(job, "Barcode_Auftragnr_CODE128_Dick", "20417", LL_BARCODE_CODE128, "");
}

}

class DemoLayouts : public EngineFixture
{};

TEST_F(DemoLayouts, AreWrittenThroughTheLayoutApiAndReadBack)
{
    const QString folder = dir.filePath("formulare");
    demo::writeLayouts(folder);
    Layout layout;
    for (const char *name : {"rechnung.lst", "adressen.lbl", "artikel.lbl"}) {
        ASSERT_EQ(loadLayout(QDir(folder).filePath(name), layout), 0) << name;
        EXPECT_TRUE(layout.firstExpressionError().isEmpty()) << name << layout.firstExpressionError().toStdString();
    }
    EXPECT_FALSE(QImage(QDir(folder).filePath("artikelbild.png")).isNull());
}

TEST_F(DemoLayouts, InvoiceCarriesSumsOverPages)
{
    demo::writeLayouts(dir.path());
    const int job = LlJobOpen(0);
    defineInvoiceHead(job);
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, dir.filePath("rechnung.lst"), LL_PRINT_NORMAL, 0), 0);
    double carry = 0;
    int page = 1;
    LlDefineVariableExt(job, "Seite", "1", LL_NUMERIC, "");
    ASSERT_EQ(LlPrint(job), 0) << LlGetErrorText(job).toStdString();
    for (int i = 1; i <= 40; ++i) {
        const double total = 12.5 * i;
        carry += total;
        LlDefineField(job, "posdruck", QString::number(i));
        LlDefineField(job, "Artikelnr", QStringLiteral("A-%1").arg(1000 + i));
        LlDefineField(job, "Bezeichnung", QStringLiteral("Aktenordner Größe %1").arg(i));
        LlDefineFieldExt(job, "menge", QString::number(i), LL_NUMERIC, "");
        LlDefineFieldExt(job, "epreis", "12,5", LL_NUMERIC, "");
        LlDefineFieldExt(job, "gpreis", QString::number(total), LL_NUMERIC, "");
        LlDefineFieldExt(job, "TextPos", "false", LL_BOOLEAN, "");
        LlDefineFieldExt(job, "Übertrag", QString::number(carry), LL_NUMERIC, "");
        int printed = 0;
        while ((printed = LlPrintFields(job)) == LL_WRN_REPEAT_DATA) {
            LlDefineVariableExt(job, "Seite", QString::number(++page), LL_NUMERIC, "");
            ASSERT_EQ(LlPrint(job), 0);
        }
        ASSERT_EQ(printed, 0) << LlGetErrorText(job).toStdString();
    }
    LlDefineVariableExt(job, "steuer1", QString::number(carry * 0.19), LL_NUMERIC, "");
    LlDefineVariableExt(job, "steuer2", "0", LL_NUMERIC, "");
    LlDefineVariableExt(job, "endbetrag", QString::number(carry * 1.19), LL_NUMERIC, "");
    while (LlPrintFieldsEnd(job) == LL_WRN_REPEAT_DATA)
        LlDefineVariableExt(job, "Seite", QString::number(++page), LL_NUMERIC, "");
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    LlJobClose(job);

    ASSERT_GE(recording->pages.size(), 2);
    const Page &first = recording->pages.first();
    const Page &second = recording->pages.at(1);
    const DrawOp *footer = nullptr;
    for (qsizetype i = 0; i + 1 < first.ops.size(); ++i) {
        if (first.ops.at(i).text == "Übertrag")
            footer = &first.ops.at(i + 1);
    }
    ASSERT_TRUE(footer);
    EXPECT_TRUE(footer->text.endsWith(" EUR"));
    EXPECT_TRUE(second.findText(footer->text)) << footer->text.toStdString();
    EXPECT_TRUE(second.findText("Übertrag von Seite 1"));
    EXPECT_TRUE(recording->pages.last().findText("Rechnungsbetrag"));
    EXPECT_TRUE(recording->pages.last().findText("12.197,50 EUR"));
    EXPECT_TRUE(first.findText("Schreinerei Albrecht KG"));
    EXPECT_FALSE(second.findText("Schreinerei Albrecht KG"));
    const auto barcode = std::find_if(first.ops.cbegin(), first.ops.cend(),
                                      [](const DrawOp &op) { return op.kind == DrawOp::Kind::Barcode; });
    ASSERT_NE(barcode, first.ops.cend());
    EXPECT_TRUE(barcode->barcode.valid);
    EXPECT_EQ(barcode->text, "20417");
}
