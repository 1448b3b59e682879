// Prints a long list and a label run to PDF through the report engine
// ("ours") and draws the same texts with plain QPainter calls on the same
// kind of PDF writer ("base"), the floor the engine is measured against.

#include "BenchRounds.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/PdfSink.h"
#include "platform/report/RealEngine.h"
#include "platform/report/api/ReportApi.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace report;

namespace {

constexpr int kListLines = 2000;
constexpr int kLabels = 3000;
constexpr double kRowMm = 5;
constexpr double kTableTop = 30;
constexpr double kTableBottom = 270;

Layout listLayout()
{
    Layout layout;
    layout.objects.append(textObject("Kopf", {20, 15, 170, 8}, {"\"Artikelliste - Seite \" + Seite"}, font(12, true)));
    TableDef table;
    table.rect = QRectF(20, kTableTop, 170, kTableBottom - kTableTop);
    table.rows.append(
        tableRow(RowPart::Data, kRowMm,
                 {column(120, "Bezeichnung"), column(50, "FStr(Betrag, \"--,---,--&.##\")", Qt::AlignRight)}));
    layout.table = table;
    return layout;
}

Layout labelSheet()
{
    Layout layout = labelLayout(SheetDef{70, 37, 3, 8, 0, 0.5, 0, 0});
    layout.objects.append(textObject("Anschrift", {6, 8, 60, 24}, {"Name", "Strasse", "Ort"}, font(10)));
    return layout;
}

QString lineText(int i)
{
    return QStringLiteral("Artikel %1 Aktenordner DIN A4").arg(i);
}

void engineList(const QString &layoutPath)
{
    {
        const int job = LlJobOpen(0);
        LlPrintStart(job, LL_PROJECT_LIST, layoutPath, LL_PRINT_NORMAL, 0);
        int page = 1;
        LlDefineVariableExt(job, "Seite", "1", LL_NUMERIC, "");
        LlPrint(job);
        for (int i = 0; i < kListLines; ++i) {
            LlDefineField(job, "Bezeichnung", lineText(i));
            LlDefineFieldExt(job, "Betrag", QString::number(i * 1.25), LL_NUMERIC, "");
            while (LlPrintFields(job) == LL_WRN_REPEAT_DATA) {
                LlDefineVariableExt(job, "Seite", QString::number(++page), LL_NUMERIC, "");
                LlPrint(job);
            }
        }
        LlPrintFieldsEnd(job);
        LlPrintEnd(job, 0);
        LlJobClose(job);
    }
}

// The amount as the layout's number picture sets it: thousands grouped and
// blanks before it up to the picture's width, which are drawn too.
QString amountText(int i)
{
    static const QLocale german(QLocale::German);
    return QStringLiteral("%1").arg(german.toString(i * 1.25, 'f', 2), 13);
}

struct RawPdf
{
    explicit RawPdf(const QString &path) : writer(path)
    {
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        painter.begin(&writer);
    }
    QRectF mm(double x, double y, double w, double h) const
    {
        const double px = writer.resolution() / 25.4;
        return {x * px, y * px, w * px, h * px};
    }
    QPdfWriter writer;
    QPainter painter;
};

void rawList(const QString &pdf)
{
    {
        RawPdf raw(pdf);
        const QFont bold = font(12, true).toQFont();
        const QFont body = font(10).toQFont();
        const int perPage = int((kTableBottom - kTableTop) / kRowMm);
        for (int i = 0; i < kListLines; ++i) {
            const int row = i % perPage;
            if (row == 0) {
                if (i > 0)
                    raw.writer.newPage();
                raw.painter.setFont(bold);
                raw.painter.drawText(raw.mm(20, 15, 170, 8), Qt::AlignLeft | Qt::AlignTop,
                                     QStringLiteral("Artikelliste - Seite %1").arg(i / perPage + 1));
                raw.painter.setFont(body);
            }
            const double y = kTableTop + row * kRowMm + 0.6;
            raw.painter.drawText(raw.mm(21, y, 118, kRowMm), Qt::AlignLeft | Qt::AlignTop, lineText(i));
            raw.painter.drawText(raw.mm(141, y, 48, kRowMm), Qt::AlignRight | Qt::AlignTop, amountText(i));
        }
    }
}

void engineLabels(const QString &layoutPath)
{
    {
        const int job = LlJobOpen(0);
        LlPrintStart(job, LL_PROJECT_LABEL, layoutPath, LL_PRINT_NORMAL, 0);
        for (int i = 0; i < kLabels; ++i) {
            LlDefineVariable(job, "Name", QStringLiteral("Kunde %1").arg(i));
            LlDefineVariable(job, "Strasse", QStringLiteral("Bahnhofstraße %1").arg(i % 200));
            LlDefineVariable(job, "Ort", QStringLiteral("35390 Gießen"));
            LlPrint(job);
        }
        LlPrintEnd(job, 0);
        LlJobClose(job);
    }
}

void rawLabels(const QString &pdf)
{
    {
        RawPdf raw(pdf);
        raw.painter.setFont(font(10).toQFont());
        const SheetDef sheet = labelSheet().sheet;
        for (int i = 0; i < kLabels; ++i) {
            const int slot = i % sheet.labelsPerSheet();
            if (slot == 0 && i > 0)
                raw.writer.newPage();
            const QPointF origin = sheet.origin(slot);
            const QString text = QStringLiteral("Kunde %1\nBahnhofstraße %2\n35390 Gießen").arg(i).arg(i % 200);
            raw.painter.drawText(raw.mm(origin.x() + 6, origin.y() + 8, 60, 24), Qt::AlignLeft | Qt::AlignTop, text);
        }
    }
}

// One case: the engine's side and plain QPainter's side.
struct Case
{
    const char *name;
    const char *word;
    std::function<void()> ours;
    std::function<void()> base;
};

}

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    RealEngine engine;
    QString pdf;
    engine.setSinkFactory([&](int, const QString &, const QString &, const QString &title, int &) {
        return std::make_unique<PdfSink>(pdf, title);
    });
    setEngine(&engine);
    const QString list = dir.filePath("liste.lst");
    const QString labels = dir.filePath("etiketten.lbl");
    saveLayout(list, listLayout());
    saveLayout(labels, labelSheet());

    const QList<Case> cases = {
        {"list 2000 lines to PDF", "liste", [&] { engineList(list); }, [&] { rawList(dir.filePath("liste-raw.pdf")); }},
        {"labels 3000 to PDF", "etiketten", [&] { engineLabels(labels); },
         [&] { rawLabels(dir.filePath("etiketten-raw.pdf")); }},
    };
    pdf = dir.filePath("ausgabe.pdf");
    // "--speicher <case> ours|base": one measured run in a process of its own.
    if (argc == 4 && QByteArray(argv[1]) == "--speicher") {
        for (const Case &c : cases)
            if (QByteArray(argv[2]) == c.word)
                return bench::runMeasured(QByteArray(argv[3]) == "ours" ? c.ours : c.base);
        return 1;
    }
    for (const Case &c : cases) {
        bench::compare(c.name, c.ours, c.base);
        const QString word = QString::fromLatin1(c.word);
        bench::compareMemory((QByteArray(c.name) + " memory").constData(), {"--speicher", word, "ours"},
                             {"--speicher", word, "base"});
    }
    return 0;
}
