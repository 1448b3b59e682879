#include "ModuleFieldsFixture.h"

#include "app/printroad/PrintLoop.h"
#include "app/printroad/ReportModules.h"
#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/DemoTables.h"
#include "demo/tables/FormRows.h"
#include "platform/db/TField.h"
#include "platform/report/DialogRunner.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/FormatSettings.h"
#include "support/FakePrinterService.h"
#include "support/TextPrinting.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace printroad;

namespace {

// The request each demo form prints in the demo: data range and key.
struct DemoRequest
{
    QString range;
    QString key;
    QString expected; // a text the printed form must show
};

// Form, data range, key and a text the printed form shows.
QMap<QString, DemoRequest> readDemoRequests()
{
    QMap<QString, DemoRequest> requests;
    for (const QStringList &row : dataRows(QStringLiteral("demo_requests")))
        requests.insert(row.value(0), {row.value(1), row.value(2), row.value(3)});
    return requests;
}

const QMap<QString, DemoRequest> demoRequests = readDemoRequests();

// The PDF's text laid out as on the page, or with `layout` off block by
// block, so that the lines of one label stand together.
QString pdfText(const QString &path, bool layout = true)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), (layout ? QStringList{QStringLiteral("-layout")} : QStringList())
                                                   << path << QStringLiteral("-"));
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool inked(const QImage &page, const QRectF &area)
{
    const QRect pixels = area.toAlignedRect().intersected(page.rect());
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            if (qGray(page.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}

// Words of the PDF matching `pattern` whose first or last character shows
// no ink once the page is rendered: text its box cut. The PDF's text keeps
// a cut word whole, so only the rendering shows the cut. With `smallest`,
// every word whose line is lower than that many points is told as "klein:".
QStringList cutWords(const QString &pdf, const QRegularExpression &pattern, double smallest = 0)
{
    constexpr double dpi = 150;
    const QTemporaryDir images;
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), pdf, images.filePath("p")});
    QProcess boxes;
    boxes.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    boxes.waitForFinished(20000);
    const QStringList pages = QString::fromUtf8(boxes.readAllStandardOutput()).split(QStringLiteral("<page ")).mid(1);
    const QStringList files = QDir(images.path()).entryList({QStringLiteral("p-*.pgm")}, QDir::Files, QDir::Name);
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    constexpr double scale = dpi / 72;
    QStringList cut;
    for (qsizetype n = 0; n < qMin(pages.size(), files.size()); ++n) {
        const QImage page(images.filePath(files.at(n)));
        for (auto it = word.globalMatch(pages.at(n)); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * scale,
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * scale);
            if (box.height() < smallest * scale)
                cut << "klein:" + m.captured(5);
            if (!pattern.match(m.captured(5)).hasMatch())
                continue;
            const double glyph = box.width() / qMax<qsizetype>(1, m.captured(5).size());
            if (!inked(page, QRectF(box.left(), box.top(), glyph, box.height()))
                || !inked(page, QRectF(box.right() - glyph, box.top(), glyph, box.height())))
                cut << m.captured(5);
        }
    }
    return cut;
}

}

// Every demo form printed by the print loop through the module field
// definitions and the real engine into a PDF.
class DemoForms : public PrintRoadFixture, public ::testing::WithParamInterface<QString>
{
protected:
    os::FakePrinterService pdfPrinters{scratchPath(QStringLiteral("pdf")), {QStringLiteral("Testdrucker")}};
    TestPrintWindow window;
    printroad::ReportFields fields{data, ReportModuleBranches()};
    printroad::PrintLoop loop{fields, window};

    void SetUp() override
    {
        PrintRoadFixture::SetUp();
        ResetFormatSettings();
        services.setNow(QDateTime(QDate(2026, 11, 30), QTime(10, 0)));
        report::setEngine(nullptr);
        pdfPrinters.setCurrentPrinter(QStringLiteral("Testdrucker"));
        os::PrinterService::setInstance(&pdfPrinters);
        QDir().mkpath(scratchPath(QStringLiteral("pdf")));
        demo::writeLayouts(scratchPath(QStringLiteral("formulare")));
        useLayouts();
    }

    // The demo layouts and the mail program of the tables in use.
    void useLayouts()
    {
        ProgramPaths().FormularPfad = scratchPath(QStringLiteral("formulare/"));
        ProgramPaths().DatenpfadQRB = demoMailbox();
    }

    void TearDown() override
    {
        os::PrinterService::setInstance(nullptr);
        PrintRoadFixture::TearDown();
    }

    // Prints the form through the loop and returns the PDF's path.
    QString print(const demo::Row &row, const DemoRequest &demoRequest)
    {
        const QString file = row.value("DateiErsteSeite").toString();
        const bool label = demo::formRowFile(row).endsWith(".lbl");
        request(row.value("Modul").toString(), row.value("Typ").toString(), label ? "E" : "L", demoRequest.range,
                demoRequest.key);
        window.row = {row.value("Bezeichnung").toString(), file, 1};
        if (label)
            loop.EtikettTintlen(false);
        else
            loop.ListeTintlen(false);
        return pdfPrinters.jobs().isEmpty() ? QString() : pdfPrinters.jobs().last().outputFile;
    }
};

TEST_P(DemoForms, PrintsTheDemoRecordsIntoAPdf)
{
    const QString name = GetParam();
    demo::Rows rows = demo::formRows();
    const auto row = std::find_if(rows.cbegin(), rows.cend(), [&name](const demo::Row &r) {
        return r.value("DateiErsteSeite").toString().section('.', 0, 0) == name;
    });
    ASSERT_NE(row, rows.cend());
    const DemoRequest request = demoRequests.value(name);
    const QString pdf = print(*row, request);
    ASSERT_TRUE(QFile::exists(pdf)) << name.toStdString();
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(request.expected)) << name.toStdString() << "\n" << text.toStdString();
    // No number or address loses a character to its box, and no word is too
    // small to read on paper: a line under 5 points, that of 4.5 point type.
    static const QRegularExpression numberOrAddress(QRegularExpression::anchoredPattern(QStringLiteral(".*[0-9@].*")));
    EXPECT_EQ(cutWords(pdf, numberOrAddress, 5).join(u' ').toStdString(), "") << name.toStdString();
    // No date breaks inside its column ("06.10.202" over "6").
    static const QRegularExpression brokenDate(QStringLiteral("\\b\\d\\d\\.\\d\\d\\.\\d{1,3}(?!\\d)"));
    EXPECT_FALSE(brokenDate.match(text).hasMatch()) << name.toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(services.messageTexts().isEmpty()) << services.messageTexts().join("|").toStdString();
    // The designer, prepared with the names printing defines, calls none of
    // the form's names unknown.
    QString problem = QStringLiteral("(nicht geöffnet)");
    report::setDialogRunner([&problem](QDialog &designer) {
        problem = designer.findChild<QLabel *>(QStringLiteral("problem"))->text();
        return int(QDialog::Rejected);
    });
    if (!name.startsWith(QLatin1String("ZVBestellform"))) {
        loop.Layout();
        EXPECT_EQ(problem, QString()) << name.toStdString();
    }
    report::setDialogRunner(nullptr);
    const QString keep = qEnvironmentVariable("TINTLEN_KEEP_PDF");
    if (!keep.isEmpty()) {
        QDir().mkpath(keep);
        QFile::remove(QDir(keep).filePath(name + ".pdf"));
        QFile::copy(pdf, QDir(keep).filePath(name + ".pdf"));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryForm, DemoForms, ::testing::ValuesIn(demoRequests.keys()),
                         [](const ::testing::TestParamInfo<QString> &paramInfo) {
                             QString name = paramInfo.param;
                             return name.remove(QRegularExpression("[^A-Za-z0-9]")).toStdString();
                         });

namespace {

demo::Row formRowOf(const QString &file)
{
    for (const demo::Row &row : demo::formRows()) {
        if (row.value("DateiErsteSeite").toString().section('.', 0, 0) == file)
            return row;
    }
    ADD_FAILURE() << file.toStdString();
    return {};
}

}

// What a customer reads on the demo's documents: an invoice dated with its
// invoice date, a dated dunning letter without its internal level, a footer
// without the tax rate, letters signed by the company, domestic addresses
// without their country, and copies marked as such.
TEST_F(DemoForms, DocumentsReadAsTheCustomerReceivesThem)
{
    static const QRegularExpression documentDate(QStringLiteral("Datum:\\s+(\\d\\d\\.\\d\\d\\.\\d{4})"));
    static const QRegularExpression signedByCompany(
        QStringLiteral("Mit freundlichen Grüßen *\\n *Werkzeughandel Lindner GmbH *\\n"));
    static const QRegularExpression taxInFooter(QStringLiteral("^ *MwSt\\."), QRegularExpression::MultilineOption);

    const QString invoice = pdfText(print(formRowOf("Auftrag_Rechnung"), demoRequests.value("Auftrag_Rechnung")));
    EXPECT_EQ(documentDate.match(invoice).captured(1), "06.10.2026") << invoice.toStdString();
    EXPECT_TRUE(signedByCompany.match(invoice).hasMatch()) << invoice.toStdString();
    EXPECT_FALSE(taxInFooter.match(invoice).hasMatch()) << invoice.toStdString();
    EXPECT_FALSE(invoice.contains("Kopie"));

    const QString offer = pdfText(print(formRowOf("Auftrag_Angebot"), demoRequests.value("Auftrag_Angebot")));
    EXPECT_TRUE(signedByCompany.match(offer).hasMatch()) << offer.toStdString();

    const QString dunning = pdfText(print(formRowOf("Mahnung_Mahnung"), demoRequests.value("Mahnung_Mahnung")));
    EXPECT_EQ(documentDate.match(dunning).captured(1), "30.11.2026") << dunning.toStdString();
    EXPECT_FALSE(dunning.contains("Mahnstufe")) << dunning.toStdString();
    EXPECT_TRUE(dunning.contains("2. Mahnung"));

    const QString labels = pdfText(print(formRowOf("Kunden_Etikett"), demoRequests.value("Kunden_Etikett")));
    EXPECT_FALSE(labels.contains("DEUTSCHLAND")) << labels.toStdString();
    EXPECT_TRUE(labels.contains("ÖSTERREICH")) << labels.toStdString();
}

// Labels and letters address the partner as German post expects:
// salutation, first name and name, street, postcode and town, and the
// country only abroad.
TEST_F(DemoForms, LabelsAndLettersAddressThePartnerAsGermanPostExpects)
{
    const QString juergens = QStringLiteral("Frau\nKäthe Jürgens\nGroße Straße 5\n20095 Hamburg\n");
    const QString haeussler = QStringLiteral("Frau\nUrsula Häußler\nMariahilfer Straße 101\n1060 Wien\nÖSTERREICH\n");
    const QString massmann =
        QStringLiteral("Firma\nElektro Maßmann AG\nGroßhandel\nÄußere Sulzbacher Straße 60\n90491 Nürnberg\n");
    const QString mueller =
        QStringLiteral("Firma\nMüller & Söhne GmbH\nBauelemente und Werkzeuge\nHauptstraße 12\n80331 München\n\n");
    const struct
    {
        const char *form;
        QString address;
    } cases[] = {
        {"Kunden_Etikett", juergens},       {"Kunden_Etikett", haeussler},       {"Auftrag_Etikett", juergens},
        {"Auftrag_Etikett", haeussler},     {"Auftrag_Sonstiges", juergens},     {"Liefer_Etikett", massmann},
        {"Bestellung_Etikett", massmann},   {"Bestellung_EtikettSon", massmann}, {"Auftrag_Auftragsbest", juergens},
        {"Bestellung_Sonstiges", massmann}, {"Auftrag_Barrechnung", haeussler},  {"Bestellung_Bestellung", massmann},
        {"Mahnung_Mahnung", mueller},
    };
    for (const auto &[form, address] : cases) {
        const QString text = pdfText(print(formRowOf(form), demoRequests.value(form)), false);
        EXPECT_TRUE(text.contains(address)) << form << "\n" << text.toStdString();
    }
}

// A payment list says what period it covers, and leaves the line out when
// it covers all payments.
TEST_F(DemoForms, PaymentListsSayWhatPeriodTheyCover)
{
    const struct
    {
        const char *form;
        const char *key;
        const char *said; // empty: no period line
    } cases[] = {
        {"Zahlungseingang_Liste", ">=01.10.2026;<=30.11.2026", "Zeitraum: 01.10.2026 bis 30.11.2026"},
        {"Zahlungseingang_Liste", ">=01.10.2026", "Zeitraum: ab 01.10.2026"},
        {"Zahlungsausgang_Liste", "<=30.11.2026", "Zeitraum: bis 30.11.2026"},
        {"Zahlungsausgang_Liste", "", ""},
    };
    for (const auto &c : cases) {
        const QString text = pdfText(print(formRowOf(c.form), {"A", c.key, {}}));
        ASSERT_FALSE(text.isEmpty()) << c.form << " " << c.key;
        if (*c.said)
            EXPECT_TRUE(text.contains(c.said)) << c.form << " " << c.key << "\n" << text.toStdString();
        else
            EXPECT_FALSE(text.contains("Zeitraum")) << c.form << " " << c.key << "\n" << text.toStdString();
    }
}

// An amount wider than its column is set smaller and keeps every digit,
// standing apart from the unit price beside it.
TEST_F(DemoForms, AnInvoicePositionOfAnyAmountKeepsEveryDigit)
{
    freshTables();
    useLayouts();
    TTable positions;
    positions.SetTableName(ProgramPaths().DatenPfad + "atrpos.db");
    positions.Open();
    positions.SetRange({"20260001"}, {"20260001"});
    positions.First();
    positions.Edit();
    positions.FieldByName("menge")->SetAsFloat(1);
    positions.FieldByName("epreis")->SetAsFloat(1234554321.33);
    positions.FieldByName("gpreis")->SetAsFloat(1234554321.33);
    positions.Post();
    positions.Close();
    const QString pdf = print(formRowOf("Auftrag_Rechnung"), demoRequests.value("Auftrag_Rechnung"));
    static const QRegularExpression bothAmounts(
        QStringLiteral("1,00 +1\\.234\\.554\\.321,33 +1\\.234\\.554\\.321,33\\n"));
    EXPECT_TRUE(bothAmounts.match(pdfText(pdf)).hasMatch()) << pdfText(pdf).toStdString();
    static const QRegularExpression amounts(QRegularExpression::anchoredPattern(QStringLiteral(".*[0-9].*")));
    EXPECT_EQ(cutWords(pdf, amounts).join(u' ').toStdString(), "");
}

TEST_F(DemoForms, ASecondCopyIsMarkedAsCopy)
{
    const demo::Row row = formRowOf("Auftrag_Rechnung");
    request("Auftrag", row.value("Typ").toString(), "L", "E", "20260001");
    window.row = {row.value("Bezeichnung").toString(), row.value("DateiErsteSeite").toString(), 2};
    loop.ListeTintlen(false);
    // The printer check pass before the copies opens the printer without a file.
    const auto jobs = pdfPrinters.jobs();
    ASSERT_EQ(jobs.size(), 3);
    const QString first = pdfText(jobs.at(1).outputFile);
    const QString second = pdfText(jobs.at(2).outputFile);
    EXPECT_FALSE(first.contains("Kopie")) << first.toStdString();
    EXPECT_TRUE(second.contains("Kopie")) << second.toStdString();
}

TEST(DemoFormList, EveryPrintedFormHasADemoRequest)
{
    for (const demo::Row &row : demo::formRows()) {
        const QString file = demo::formRowFile(row);
        if (!file.endsWith(".frm")) {
            EXPECT_TRUE(demoRequests.contains(file.section('.', 0, 0))) << file.toStdString();
        }
    }
}

TEST_F(DemoForms, ADunningLetterPrintedByTheLoopRecordsTheRunInTheOpenItems)
{
    freshTables();
    useLayouts();
    demo::Rows rows = demo::formRows();
    const auto row = std::find_if(rows.cbegin(), rows.cend(),
                                  [](const demo::Row &r) { return r.value("Modul").toString() == "Mahnung"; });
    ASSERT_NE(row, rows.cend());
    ASSERT_FALSE(print(*row, demoRequests.value("Mahnung_Mahnung")).isEmpty());
    TTable items;
    items.SetTableName(ProgramPaths().DatenPfad + "offpos.db");
    items.Open();
    ASSERT_TRUE(items.FindKey({"20260009"}));
    EXPECT_EQ(items.FieldByName("mahndatum3")->AsDateTime(), EncodeDate(2026, 11, 30));
    ASSERT_TRUE(items.FindKey({"20260010"}));
    EXPECT_DOUBLE_EQ(items.FieldByName("mahngebuehr")->AsFloat(), 10.0);
}
