#include "PrintRoadFixture.h"

#include "app/printroad/PrintJob.h"
#include "app/printroad/PrintRoad.h"
#include "platform/os/Printers.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/Exceptions.h"

namespace {

class PrintJobTest : public PrintLoopFixture
{
protected:
    void sales(const QString &formType, const QString &range)
    {
        request(QStringLiteral("Auftrag"), formType, QStringLiteral("L"), range);
        window.row = {formType, QStringLiteral("Auftrag_") + formType + QStringLiteral(".lst"), 1};
    }

    // The printing passes: each job of printer output has a check pass.
    int printedJobs() const { return engine.count(QStringLiteral("LlPrintWithBoxStart")); }

    printroad::PrintJob driver{loop, fields, window};
};

}

TEST_F(PrintJobTest, MarkedDocumentsPrintOneJobEach)
{
    sales(QStringLiteral("Rechnung"), QStringLiteral("M"));
    driver.Tintlen();
    // Each document runs a printer check pass and a printing pass.
    EXPECT_EQ(branches.jobKeys, QStringList({"20260001", "20260001", "20260004", "20260004", "20260005", "20260005"}));
    EXPECT_EQ(printedJobs(), 3);
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(PrintRequest().Datenbereich, QStringLiteral("M"));
    EXPECT_EQ(PrintRequest().Datensatz, QString());

    // The request is handed back as it came: printing again without a new
    // activation prints every marked document again, not only the last.
    branches.jobKeys.clear();
    driver.Tintlen();
    EXPECT_EQ(branches.jobKeys, QStringList({"20260001", "20260001", "20260004", "20260004", "20260005", "20260005"}));
}

// A layout refused for the first document would be refused for every one:
// one box, and the run ends. Any other failure ends only its document.
TEST_F(PrintJobTest, ARefusedLayoutEndsARunOfDocumentsAfterOneBox)
{
    const struct
    {
        const char *call;
        int code;
        QStringList jobs;
    } cases[] = {
        {"LlPrint", report::LL_ERR_EXPRESSION, {"20260001"}},
        {"LlPrintWithBoxStart", report::LL_ERR_LAYOUT, {"20260001"}},
        {"LlPrintFields", report::LL_ERR_NO_TABLE, {"20260001"}},
        {"LlPrintEnd", report::LL_ERR_PRINTING_FAILED, {"20260001", "20260004", "20260005"}},
    };
    for (const auto &c : cases) {
        sales(QStringLiteral("Rechnung"), QStringLiteral("M"));
        window.chosen = printroad::Output::Bildschirm;
        services.clear();
        branches.jobKeys.clear();
        engine.script(QString::fromLatin1(c.call), {c.code});
        driver.Tintlen();
        EXPECT_EQ(branches.jobKeys, c.jobs) << c.call;
        EXPECT_EQ(services.messages().size(), 1) << c.call;
    }
}

TEST_F(PrintJobTest, AListIsOneJobButEachDocumentOfTheFilterIsOne)
{
    sales(QStringLiteral("Liste"), QStringLiteral("M"));
    window.chosen = printroad::Output::Bildschirm;
    driver.Tintlen();
    EXPECT_EQ(branches.jobKeys, QStringList({QString()}));
    EXPECT_EQ(printedJobs(), 1);

    // All documents of the record filter print one job each.
    engine.calls.clear();
    branches.jobKeys.clear();
    sales(QStringLiteral("Rechnung"), QStringLiteral("A"));
    PrintRequest().Datenfilter = QStringLiteral("kundennr = '10005'");
    driver.Tintlen();
    EXPECT_EQ(branches.jobKeys, QStringList({"20260006", "20260011", "20260012"}));
    EXPECT_EQ(engine.count(QStringLiteral("LlPreviewDisplay")), 3);
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();

    // A filter without documents is said, and no job starts.
    engine.calls.clear();
    branches.jobKeys.clear();
    PrintRequest().Datenfilter = QStringLiteral("kundennr = 'gibt es nicht'");
    driver.Tintlen();
    EXPECT_TRUE(branches.jobKeys.isEmpty());
    EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), 0);
    EXPECT_EQ(services.messageTexts(),
              QStringList(QStringLiteral("Es wurde kein Datensatz ausgewählt, es wird nichts gedruckt.")));
}

TEST_F(PrintJobTest, DunningLettersPrintOneJobPerCustomer)
{
    request(QStringLiteral("Mahnung"), QStringLiteral("Mahnung"), QStringLiteral("L"), QStringLiteral("A"));
    window.chosen = printroad::Output::Bildschirm;
    window.row = {QStringLiteral("Mahnschreiben"), QStringLiteral("Mahnung_Mahnung.lst"), 1};
    driver.Tintlen();
    EXPECT_EQ(branches.jobKeys, QStringList({"10001", "10005"}));
    EXPECT_EQ(PrintRequest().Datenbereich, QStringLiteral("A"));
    EXPECT_EQ(PrintRequest().Datensatz, QString());
}

TEST_F(PrintJobTest, TheFormPrinterIsTheDefaultOnlyWhileTheJobRuns)
{
    sales(QStringLiteral("Liste"), QStringLiteral("A"));
    window.chosen = printroad::Output::Formulardrucker;
    window.formText = QStringLiteral("Laserdrucker Buchhaltung an FILE:");
    engine.printerName = QStringLiteral("Laserdrucker Buchhaltung");
    driver.Tintlen();
    EXPECT_EQ(printers.currentPrinterHistory(),
              QStringList({"Testdrucker", "Laserdrucker Buchhaltung", "Testdrucker"}));
    EXPECT_EQ(engine.count(QStringLiteral("LlSetPrinterToDefault")), 0);
    EXPECT_EQ(printedJobs(), 1);
    // A form printer that is already the default is set again afterwards.
    window.formText = QStringLiteral("Testdrucker an LPT1:");
    driver.Tintlen();
    EXPECT_EQ(printers.currentPrinterHistory().mid(3), QStringList({"Testdrucker"}));
}

TEST_F(PrintJobTest, TheDefaultPrinterComesBackWhenTheJobFails)
{
    printroad::ReportFields failing(data,
                                    {{QString(), true, [](printroad::ReportFields &, int, TTable *&, bool) -> int {
                                          throw EDatabaseError(QStringLiteral("Tabelle kaputt"));
                                      }}});
    printroad::PrintLoop failingLoop(failing, window);
    printroad::PrintJob failingDriver(failingLoop, failing, window);
    sales(QStringLiteral("Liste"), QStringLiteral("A"));
    window.chosen = printroad::Output::Formulardrucker;
    window.formText = QStringLiteral("Laserdrucker Buchhaltung an FILE:");
    EXPECT_THROW(failingDriver.Tintlen(), EDatabaseError);
    EXPECT_EQ(printers.currentPrinter(), QStringLiteral("Testdrucker"));
    EXPECT_EQ(services.busyDepth(), 0);
    EXPECT_EQ(PrintRequest().Modul, QStringLiteral("Auftrag"));
}

TEST_F(PrintJobTest, AnUnknownFormPrinterRefusesTheJob)
{
    sales(QStringLiteral("Liste"), QStringLiteral("A"));
    window.chosen = printroad::Output::Formulardrucker;
    window.formText = QStringLiteral("Alter Nadeldrucker an LPT2:");
    driver.Tintlen();
    EXPECT_EQ(
        services.messageTexts(),
        QStringList({QStringLiteral("Treiber zu Alter Nadeldrucker in Win.ini nicht vorhanden"),
                     QStringLiteral("Druckertreiber Alter Nadeldrucker kann nicht als Standard aktiviert werden.")}));
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("SetCurrentPrinter"));
    EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), 0);
    EXPECT_EQ(printers.currentPrinter(), QStringLiteral("Testdrucker"));
}

TEST_F(PrintJobTest, AChosenOutputNeedsAPrinter)
{
    sales(QStringLiteral("Liste"), QStringLiteral("A"));
    window.standardText.clear();
    driver.Tintlen();
    window.chosen = printroad::Output::Formulardrucker;
    driver.Tintlen();
    EXPECT_EQ(services.messageTexts(), QStringList({QStringLiteral("Bitte erst den Drucker wählen!"),
                                                    QStringLiteral("Bitte erst einen Formulardrucker wählen!")}));
    EXPECT_EQ(window.actions, QStringList({"focus lstStdDrucker", "focus lstFrmDrucker"}));
    EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), 0);
}

TEST_F(PrintJobTest, AnUnknownFormKindIsReported)
{
    sales(QStringLiteral("Liste"), QStringLiteral("A"));
    PrintRequest().FormTyp = QStringLiteral("X");
    window.closeAfter = true;
    driver.Tintlen();
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Formtyp X ist unbekannt!")));
    EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), 0);
    EXPECT_EQ(window.actions, QStringList(QStringLiteral("close")));
    EXPECT_GT(services.maxBusyDepth(), 0);
    EXPECT_EQ(services.busyDepth(), 0);
}

TEST_F(PrintJobTest, TheEuroFlagIsClearedForEveryRequest)
{
    data.job().euroDruck = true;
    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    window.row.DateiErsteSeite.clear();
    driver.Tintlen();
    EXPECT_FALSE(data.job().euroDruck);
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Es wurde kein Formular-Dateiname eingegeben!")));
}

TEST_F(PrintJobTest, ChoosingADefaultPrinterMakesItTheDefault)
{
    window.standardText = QStringLiteral("Laserdrucker Buchhaltung an FILE:");
    driver.lstStdDruckerChange();
    EXPECT_EQ(printers.currentPrinter(), QStringLiteral("Laserdrucker Buchhaltung"));
    window.standardText = QStringLiteral("Weg an LPT3:");
    driver.lstStdDruckerChange();
    EXPECT_EQ(services.messageTexts().last(),
              QStringLiteral("Druckertreiber Weg kann nicht als Standard aktiviert werden."));
    EXPECT_EQ(printroad::PrinterNameOf(QStringLiteral(" an Anfang")), QStringLiteral(" an Anfang"));
    EXPECT_FALSE(printroad::SetCurrentPrinter(QString()));
    EXPECT_EQ(services.messageTexts().last(), QStringLiteral("Parameter cDevice fehlt"));
}

TEST_F(PrintJobTest, TheDefaultPrinterIsReadFromThePrinterService)
{
    QString name, driverName, port;
    EXPECT_TRUE(printroad::GetDefaultPrinter(name, driverName, port));
    EXPECT_EQ(name, QStringLiteral("Testdrucker"));
    printers.setCurrentPrinter(QString());
    EXPECT_FALSE(printroad::GetDefaultPrinter(name, driverName, port));
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Kein Standarddrucker definiert")));
}
