#include "ModuleFieldsFixture.h"

#include "app/printroad/PrintLoop.h"
#include "app/printroad/ReportModules.h"
#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/FormRows.h"
#include "demo/tables/DemoTables.h"
#include "platform/db/TField.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/FormatSettings.h"
#include "support/FakePrinterService.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

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

const QMap<QString, DemoRequest> demoRequests = {
    {"Auftrag_Angebot", {"E", "20260003", "Angebot Nr. 20260003"}},
    {"Auftrag_Auftragsbest", {"E", "20260002", "Sehr geehrte Frau Jürgens,"}},
    {"Auftrag_Lieferschein", {"E", "20260005", "Lieferschein Nr. 20260005"}},
    {"Auftrag_Rechnung", {"E", "20260001", "Summe dieses Abschnitts"}},
    {"Auftrag_Barrechnung", {"E", "20260008", "Betrag dankend in bar erhalten."}},
    {"Auftrag_Gutschrift", {"E", "20260006", "Gutschriftsbetrag"}},
    {"Auftrag_Liste", {"A", "", "Zeitraum: 01.10.2026 bis 31.10.2026"}},
    {"Auftrag_Provisionsliste", {"A", "", "Provisionsliste"}},
    {"Auftrag_Etikett", {"A", "", "Jürgens"}},
    {"Auftrag_Sonstiges", {"A", "", "Beleg 20260004"}},
    {"Auftrag_EtikettArt", {"E", "20260002", "Akku-Bohrschrauber 18 V"}},
    {"Bestellung_Anfrage", {"E", "30260002", "Anfrage Nr. 30260002"}},
    {"Bestellung_Bestellung", {"E", "30260004", "1.324,32 DM"}},
    {"Bestellung_Stornierung", {"E", "30260003", "Stornierung Nr. 30260003"}},
    {"Bestellung_Sonstiges", {"E", "30260004", "Sehr geehrte Frau Maßmann,"}},
    {"Bestellung_Liste", {"A", "", "Bestellliste"}},
    {"Bestellung_Etikett", {"A", "", "Schrauben-Schäfer GmbH"}},
    {"Bestellung_EtikettSon", {"A", "", "Bestellung 30260001"}},
    {"Bestellung_EtikettArt", {"E", "30260001", "Bestellung 30260001"}},
    {"Mahnung_Mahnung", {"E", "10001", "2. Mahnung"}},
    {"OffenePosten_Liste", {"A", "", "7.705,30"}},
    {"OpoBList_Liste", {"A", "", "Posten Einkauf"}},
    {"Zahlungseingang_Liste", {"A", ">=01.10.2026;<=30.11.2026", "KA-2026-0411"}},
    {"Zahlungsausgang_Liste", {"A", ">=01.01.2026;<=31.12.2026", "BA-2026-0131"}},
    {"Kunden_Liste", {"A", "", "Müller & Söhne GmbH"}},
    {"Kunden_Etikett", {"A", "", "DEUTSCHLAND"}},
    {"Liefer_Liste", {"A", "", "Lieferantenliste"}},
    {"Liefer_Etikett", {"A", "", "Elektro Maßmann AG"}},
    {"Mitarbei_Liste", {"A", "", "Krüger"}},
    {"Ansprech-K_Liste", {"A", "10001", "Hans-Jürgen Müller"}},
    {"Ansprech-L_Liste", {"A", "70003", "Dörte Maßmann"}},
    {"KunPreis_Liste", {"A", "10001", "Kundenpreise"}},
    {"ArtPreis_Liste", {"A", "1001", "Schraube M6x40 verzinkt"}},
    {"Artikel_Liste", {"A", "", "Inventurwert gesamt"}},
    {"Artikel_Etikett", {"A", "", "je 100 Stück"}},
    {"Stueckliste_Liste", {"A", "1012", "Baugruppe 1012"}},
    {"LfrArt_Liste", {"A", "70001", "Artikel des Lieferanten"}},
    {"MabKun_Liste", {"A", "201", "Bäckerei Öztürk"}},
    {"Lagerbew_Liste", {"A", "", "WE-2026-118"}},
    {"Lagerbew_Etikett", {"E", "1", "Wareneingang 02.09.2026"}},
    {"ZVBestellform_Bestellform", {"A", "", "Bestellformular"}},
    {"KunAtr_Liste-A", {"A", "10001", "Aufträge des Kunden"}},
    {"KunAtr_Liste-O", {"A", "10001", "Posten des Kunden"}},
    {"KunAtr_Liste-U", {"A", "10001", "Zahlungen des Kunden"}},
    {"KunArt_Liste", {"A", "10001", "Spanplatte 19 mm"}},
    {"ArtKun_Liste", {"A", "1004", "Kunden des Artikels"}},
    {"Kontakte-K_Liste", {"A", "10001", "Jahresgespräch"}},
    {"Kontakte-L_Liste", {"A", "70001", "Preisverhandlung Schrauben"}},
    {"Kontakte-M_Liste", {"A", "203", "Einarbeitung Warenwirtschaft"}},
    {"Kontakte_Liste", {"A", "", "Alle Kontakte"}},
    {"Aufgaben-K_Liste", {"A", "10001", "Ersatzplatten liefern"}},
    {"Aufgaben_Liste", {"A", "", "Liefertermin bestätigen"}},
    {"Gruppen_Liste", {"A", "", "Handwerksbetriebe"}},
    {"GrZuord-K_Liste", {"A", "10001", "Stammkunden"}},
    {"GrZuord-G_Liste", {"A", "HANDWERK", "Straßenbau Günther KG"}},
    {"Textbausteine_Liste", {"A", "", "Textbausteine"}},
};

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
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
    EXPECT_TRUE(services.messageTexts().isEmpty()) << services.messageTexts().join("|").toStdString();
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
