#include "ModuleFieldsFixture.h"
#include "PrintRoadFixture.h"

#include "app/printroad/PrintLoop.h"
#include "app/printroad/ReportModules.h"
#include "demo/layouts/DemoLayouts.h"
#include "platform/db/TField.h"
#include "platform/report/DialogRunner.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/PreviewFile.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/Exceptions.h"
#include "support/FakePrinterService.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QStorageInfo>

#include <array>
#include <tuple>

#include <sqlite3.h>
#include <sys/mount.h>

namespace {

class PrintLoopTest : public PrintLoopFixture
{
protected:
    void customerList(int copies = 1)
    {
        request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
        window.row = {QStringLiteral("Kundenliste"), QStringLiteral("Kunden_Liste.lst"), copies};
    }

    void invoice(const QString &orderNr)
    {
        request(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("L"), QStringLiteral("E"),
                orderNr);
        window.row = {QStringLiteral("Rechnung"), QStringLiteral("Auftrag_Rechnung.lst"), 1};
    }

    // The calls of the printing pass: everything after the last job open.
    QList<report::RecordingEngine::Call> lastJobCalls(const QString &name) const
    {
        QList<report::RecordingEngine::Call> found;
        for (const auto &call : engine.calls) {
            if (call.name == QLatin1String("LlJobOpen"))
                found.clear();
            if (call.name == name)
                found << call;
        }
        return found;
    }

    QStringList valuesAt(const QString &call, const QString &name) const
    {
        QStringList values;
        for (const auto &c : lastJobCalls(call))
            values << c.values.value(name);
        return values;
    }

    QList<int> positionNumbers(const QString &orderNr)
    {
        TTable positions;
        positions.SetDatabaseName(ProgramPaths().DatenPfad);
        positions.SetTableName(QStringLiteral("atrpos.db"));
        positions.Open();
        QList<int> numbers;
        positions.SetRange({orderNr}, {orderNr});
        for (positions.First(); !positions.Eof(); positions.Next()) {
            TField *field = positions.FieldByName(QStringLiteral("posdruck"));
            numbers << (field->IsNull() ? -1 : field->AsInteger());
        }
        return numbers;
    }

    void expectEverythingClosed() const
    {
        EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), engine.count(QStringLiteral("LlJobClose")));
        EXPECT_FALSE(isOpen(tc));
        EXPECT_FALSE(isOpen(tcSetup));
    }
};

}

TEST_F(PrintLoopTest, EveryCopyStartsAgainAtTheFirstRecord)
{
    customerList(3);
    loop.ListeTintlen(false);
    const QStringList copies = valuesAt(QStringLiteral("LlPrint"), QStringLiteral("Exemplar"));
    EXPECT_EQ(copies, QStringList({"1", "2", "3"}));
    EXPECT_EQ(lastJobCalls(QStringLiteral("LlPrintWithBoxStart")).size(), 3);
    EXPECT_EQ(lastJobCalls(QStringLiteral("LlPrintEnd")).size(), 3);
    const QStringList numbers = valuesAt(QStringLiteral("LlPrintFields"), QStringLiteral("nr"));
    const int perCopy = numbers.size() / 3;
    ASSERT_GT(perCopy, 1);
    EXPECT_EQ(numbers.mid(0, perCopy), numbers.mid(perCopy, perCopy));
    EXPECT_EQ(numbers.mid(0, perCopy), numbers.mid(2 * perCopy));
    EXPECT_TRUE(services.messages().isEmpty());
    expectEverythingClosed();
}

TEST_F(PrintLoopTest, TypedCopiesReplaceTheFormRowsAndTheScreenPrintsOne)
{
    customerList(5);
    window.typed = 3;
    loop.ListeTintlen(false);
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrint"), QStringLiteral("Exemplar")), QStringList({"1", "2", "3"}));

    engine.calls.clear();
    window.chosen = printroad::Output::Bildschirm;
    loop.ListeTintlen(false);
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrint"), QStringLiteral("Exemplar")), QStringList({"1"}));
    EXPECT_EQ(engine.count(QStringLiteral("LlPrintGetPrinterInfo")), 0);
    const auto *start = engine.last(QStringLiteral("LlPrintWithBoxStart"));
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->args.value(3).toInt(), report::LL_PRINT_PREVIEW);
    EXPECT_EQ(start->args.value(2).toString(), ProgramPaths().FormularPfad + QStringLiteral("Kunden_Liste.lst"));
    EXPECT_EQ(engine.count(QStringLiteral("LlPreviewDisplay")), 1);
    EXPECT_EQ(engine.count(QStringLiteral("LlPreviewDeleteFiles")), 1);
    expectEverythingClosed();

    engine.calls.clear();
    customerList(0);
    window.typed = 0;
    window.chosen = printroad::Output::Standarddrucker;
    loop.ListeTintlen(false);
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrint"), QStringLiteral("Exemplar")), QStringList({"1"}))
        << "a row of no copies";
}

TEST_F(PrintLoopTest, ARecordThatDidNotFitIsRepeatedOnTheNextPage)
{
    customerList();
    engine.script(QStringLiteral("LlPrintFields"), {0, 0, report::LL_WRN_REPEAT_DATA});
    engine.script(QStringLiteral("LlPrintFieldsEnd"), {report::LL_WRN_REPEAT_DATA});
    loop.ListeTintlen(false);
    const QList<report::RecordingEngine::Call> lines = lastJobCalls(QStringLiteral("LlPrintFields"));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.at(2).values.value("nr"), lines.at(3).values.value("nr"));
    EXPECT_NE(lines.at(1).values.value("nr"), lines.at(2).values.value("nr"));
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrint"), QStringLiteral("Seite")), QStringList({"1", "2"}));
    EXPECT_TRUE(services.messages().isEmpty());
}

TEST_F(PrintLoopTest, EngineErrorsAreShownAndEndTheJob)
{
    customerList();
    engine.script(QStringLiteral("LlPrintWithBoxStart"), {report::LL_ERR_LAYOUT});
    loop.ListeTintlen(false);
    ASSERT_EQ(services.messages().size(), 1);
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("Fehler (Nr.-22)"));
    EXPECT_TRUE(services.messages().first().text.endsWith(QStringLiteral(":\r\n") + ProgramPaths().FormularPfad));
    EXPECT_EQ(engine.count(QStringLiteral("LlPrint")), 0);
    expectEverythingClosed();
}

// The program's text comes first, the engine's cause after it where it
// tells more; a code without a text of its own shows the cause alone.
TEST_F(PrintLoopTest, EngineErrorsShowTheProgramsTextAndTheEnginesCause)
{
    const QString failed = printroad::EngineErrorText(report::LL_ERR_PRINTING_FAILED);
    const std::tuple<int, QString, QString> cases[] = {
        {report::LL_ERR_PRINTING_FAILED, "", failed},
        {report::LL_ERR_PRINTING_FAILED, failed, failed},
        {-50, "Drucker antwortet nicht", "Drucker antwortet nicht"},
        {-50, "", "Zu diesem Fehler ist keine Fehlerbeschreibung vorhanden."},
    };
    for (const auto &[code, cause, shown] : cases) {
        customerList();
        services.clear();
        engine.cause = cause;
        engine.script(QStringLiteral("LlPrint"), {code});
        loop.ListeTintlen(false);
        EXPECT_EQ(services.messageTexts(), QStringList(shown)) << code << ' ' << cause.toStdString();
    }
}

// An aborted preview of a list or labels is not shown; its files go.
TEST_F(PrintLoopTest, AnAbortedPreviewLeavesNoPreviewFiles)
{
    window.chosen = printroad::Output::Bildschirm;
    for (const bool labels : {false, true}) {
        engine.script(QStringLiteral("LlPrintSetBoxText"), {report::LL_ERR_USER_ABORTED});
        request(QStringLiteral("Auftrag"), labels ? "Etikett" : "Liste", labels ? "E" : "L", QStringLiteral("A"));
        window.row = {QStringLiteral("Auftrag"), labels ? "Auftrag_Etikett.lbl" : "Auftrag_Liste.lst", 1};
        labels ? loop.EtikettTintlen(false) : loop.ListeTintlen(false);
        const QStringList calls = engine.callNames();
        EXPECT_EQ(calls.mid(calls.lastIndexOf("LlPrintEnd")).filter("LlPreview"), QStringList{"LlPreviewDeleteFiles"});
        expectEverythingClosed();
    }
}

TEST_F(PrintLoopTest, AnAbortInTheProgressBoxEndsTheJobOnce)
{
    request(QStringLiteral("Auftrag"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    window.row = {QStringLiteral("Auftragsliste"), QStringLiteral("Auftrag_Liste.lst"), 2};
    engine.script(QStringLiteral("LlPrintSetBoxText"), {report::LL_ERR_USER_ABORTED});
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Benutzer-Abbruch")));
    const auto *box = engine.last(QStringLiteral("LlPrintSetBoxText"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->args.value(1).toString(), QStringLiteral("Drucke Auftragsliste (1. Ausdruck) "));
    EXPECT_EQ(box->args.value(2).toInt(), 91);
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrint"), QStringLiteral("Exemplar")), QStringList({"1"}));
    expectEverythingClosed();
}

TEST_F(PrintLoopTest, TheLayoutsOwnPrinterIsForgottenWhenItIsNotTheDefault)
{
    customerList();
    engine.printerName = QStringLiteral("Laserdrucker Buchhaltung");
    loop.ListeTintlen(false);
    const auto *reset = engine.last(QStringLiteral("LlSetPrinterToDefault"));
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->args.value(2).toString(), ProgramPaths().FormularPfad + QStringLiteral("Kunden_Liste.lst.lst"));
    EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), 3);
    expectEverythingClosed();
}

TEST_F(PrintLoopTest, WithoutDefaultPrinterNothingIsPrinted)
{
    customerList();
    printers.setCurrentPrinter(QString());
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Kein Standarddrucker definiert")));
    EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), 0);
}

TEST_F(PrintLoopTest, PositionNumbersAreWrittenWhileTheDocumentIsDefined)
{
    freshTables();
    unnumberPositions();
    invoice(QStringLiteral("20260002"));
    window.chosen = printroad::Output::Bildschirm;
    loop.ListeTintlen(false);
    EXPECT_EQ(positionNumbers(QStringLiteral("20260002")), QList<int>({1, 2, 3}));
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrintFields"), QStringLiteral("posdruck")), QStringList({"1", "2", "3"}));

    // An abort after the document was defined keeps its numbers.
    window.chosen = printroad::Output::Standarddrucker;
    engine.script(QStringLiteral("LlPrintSetBoxText"), {report::LL_ERR_USER_ABORTED});
    invoice(QStringLiteral("20260001"));
    loop.ListeTintlen(false);
    const QList<int> numbers = positionNumbers(QStringLiteral("20260001"));
    ASSERT_GT(numbers.size(), 40);
    // Text lines and markers are not numbered.
    EXPECT_EQ(numbers.at(9), 10);
    EXPECT_EQ(numbers.at(10), 0);
    EXPECT_EQ(numbers.at(11), 11);
    EXPECT_EQ(numbers.count(0), 5);
    EXPECT_EQ(numbers.last(), numbers.size() - 5);

    invoice(QStringLiteral("20260001"));
    window.row.Ausdrucke = 2;
    loop.ListeTintlen(false);
    EXPECT_EQ(positionNumbers(QStringLiteral("20260001")), numbers);
    const QStringList printed = valuesAt(QStringLiteral("LlPrintFields"), QStringLiteral("posdruck"));
    EXPECT_EQ(printed.size(), 2 * numbers.size());
    EXPECT_EQ(printed.first(), QStringLiteral("1"));
}

TEST_F(PrintLoopTest, ARecordThatIsNotThereIsReportedAndNotPrinted)
{
    customerList();
    PrintRequest().Datenbereich = QStringLiteral("E");
    PrintRequest().Datensatz = QStringLiteral("55555");
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("tc.findkey(55555) erfolglos")));
    EXPECT_EQ(engine.count(QStringLiteral("LlPrint")), 0);
    EXPECT_EQ(engine.count(QStringLiteral("LlPrintStart")), 0);
    expectEverythingClosed();
}

TEST_F(PrintLoopTest, AFailingModuleClosesJobAndTables)
{
    printroad::ReportFields failing(data,
                                    {{QString(), true, [](printroad::ReportFields &f, int, TTable *&slot, bool) {
                                          f.data().GetRecords(slot, QString());
                                          throw EDatabaseError(QStringLiteral("Feld 'gibtsnicht' nicht gefunden"));
                                          return 0;
                                      }}});
    printroad::PrintLoop failingLoop(failing, window);
    customerList();
    EXPECT_THROW(failingLoop.ListeTintlen(false), EDatabaseError);
    expectEverythingClosed();
}

TEST_F(PrintLoopTest, TheRequestIsTheSameAfterTheJob)
{
    printroad::ReportFields adjusting(
        data, {{QString(), true, [](printroad::ReportFields &f, int job, TTable *&slot, bool v) {
                    PrintRequest().Datenbereich = QStringLiteral("A");
                    PrintRequest().Datenfilter = QStringLiteral("nr <> ''");
                    const int limit = f.data().GetRecords(slot, QString());
                    f.TCDefineFields(job, tc, v, false, QString());
                    return limit;
                }}});
    printroad::PrintLoop adjustingLoop(adjusting, window);
    customerList(2);
    PrintRequest().Datenbereich = QStringLiteral("A2");
    const TPrintRequest before = PrintRequest();
    adjustingLoop.ListeTintlen(false);
    EXPECT_EQ(PrintRequest().Datenbereich, before.Datenbereich);
    EXPECT_EQ(PrintRequest().Datenfilter, before.Datenfilter);
}

TEST_F(PrintLoopTest, LabelsOfMarkedRecordsEachAsOftenAsAskedAlsoThroughTheOptionsDialog)
{
    request(QStringLiteral("Auftrag"), QStringLiteral("Etikett"), QStringLiteral("E"), QStringLiteral("M"));
    window.row = {QStringLiteral("Adressetikett"), QStringLiteral("Auftrag_Etikett.lbl"), 2};
    window.background = true;
    loop.EtikettTintlen(false);
    const QStringList labels = valuesAt(QStringLiteral("LlPrint"), QStringLiteral("auftragnr"));
    EXPECT_EQ(labels, QStringList({"20260001", "20260001", "20260004", "20260004", "20260005", "20260005"}));
    EXPECT_EQ(engine.last(QStringLiteral("LlPrintWithBoxStart"))->args.value(5).toString(),
              QStringLiteral("Tintlen..."));
    EXPECT_EQ(engine.last(QStringLiteral("LlPrintSetBoxText"))->args.value(1).toString(),
              QStringLiteral("Drucke Adressetikett (1. Ausdruck) "));
    EXPECT_EQ(window.actions, QStringList(QStringLiteral("minimize+hide")));
    expectEverythingClosed();

    // The options dialog is offered the row's copies of each label.
    engine.calls.clear();
    loop.EtikettTintlen(true);
    EXPECT_EQ(engine.count(QStringLiteral("LlPrintOptionsDialog")), 1);
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrint"), QStringLiteral("auftragnr")), labels);
}

TEST_F(PrintLoopTest, TheDesignerGetsTheCurrentRecordAndTheLayoutAndNeedsSomethingToShow)
{
    freshTables();
    unnumberPositions();
    invoice(QStringLiteral("20260002"));
    loop.Layout();
    const auto *designer = engine.last(QStringLiteral("LlDefineLayout"));
    ASSERT_NE(designer, nullptr);
    EXPECT_EQ(designer->args.value(1).toString(), QStringLiteral("Formular-Layout \"Rechnung\"  "));
    EXPECT_EQ(designer->args.value(2).toInt(), report::LL_PROJECT_LIST | report::LL_FUNCTION_CREATE_IF_MISSING);
    EXPECT_EQ(designer->args.value(3).toString(), ProgramPaths().FormularPfad + QStringLiteral("Auftrag_Rechnung.lst"));
    EXPECT_FALSE(data.job().designer);
    EXPECT_EQ(positionNumbers(QStringLiteral("20260002")), QList<int>({1, 2, 3})) << "the designer numbers them too";
    expectEverythingClosed();

    request(QStringLiteral("ZVBestellform"), QStringLiteral("Bestellform"), QStringLiteral("L"), QStringLiteral("A"));
    loop.Layout();
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Ändern dieses Formulars nicht möglich")));

    // The designer needs something to show.
    services.clear();
    engine.calls.clear();
    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    printroad::ReportFields empty(data, {{QString(), true, [](printroad::ReportFields &, int, TTable *&, bool) {
                                              return printroad::NothingToPrint;
                                          }}});
    printroad::PrintLoop emptyLoop(empty, window);
    emptyLoop.Layout();
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Keine druckbaren Daten gefunden!")));
    EXPECT_EQ(engine.count(QStringLiteral("LlDefineLayout")), 0);
    expectEverythingClosed();

    window.row.DateiErsteSeite.clear();
    emptyLoop.Layout();
    EXPECT_EQ(services.messageTexts().last(), QStringLiteral("Es wurde kein Formular-Dateiname eingegeben!"));
}

TEST(EngineErrorTextTest, KnownCodesHaveTheirTextAndOthersSaySo)
{
    EXPECT_EQ(printroad::EngineErrorText(-28), QStringLiteral("In dem Formular ist kein Tabellenobjekt vorhanden."));
    EXPECT_TRUE(
        printroad::EngineErrorText(-23).startsWith(QStringLiteral("Einer der im Formular verwendeten Ausdrücke")));
    EXPECT_EQ(printroad::EngineErrorText(-4711),
              QStringLiteral("Zu diesem Fehler ist keine Fehlerbeschreibung vorhanden."));
}

namespace {

// The real engine, printing to the test printers' PDF files and showing its
// preview through a runner that closes it at once.
// The demo invoice printed by the real engine through the module's own
// field definitions, as the program prints it.
class PrintLoopRealEngineTest : public PrintLoopTest
{
protected:
    void SetUp() override
    {
        PrintLoopTest::SetUp();
        freshTables();
        ProgramPaths().DatenpfadQRB = demoMailbox();
        report::setEngine(nullptr);
        os::PrinterService::setInstance(&pdfPrinters);
        pdfPrinters.setCurrentPrinter(QStringLiteral("Testdrucker"));
        ProgramPaths().FormularPfad = scratchPath(QStringLiteral("formulare/"));
        QDir().mkpath(ProgramPaths().FormularPfad);
        ASSERT_TRUE(report::saveLayout(ProgramPaths().FormularPfad + QStringLiteral("Auftrag_Rechnung.lst"),
                                       demo::invoiceLayout()));
        report::setDialogRunner([this](QDialog &) {
            previewSeen = QFile::exists(
                report::previewPath(ProgramPaths().FormularPfad + QStringLiteral("Auftrag_Rechnung.lst")));
            return 0;
        });
    }

    void TearDown() override
    {
        report::setDialogRunner(nullptr);
        PrintLoopTest::TearDown();
    }

    static int pageCount(const QString &pdf)
    {
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray bytes = file.readAll();
        int pages = 0;
        for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1))
            pages += bytes.mid(at, 12) != "/Type /Pages" ? 1 : 0;
        return pages;
    }

    os::FakePrinterService pdfPrinters{scratchPath(QStringLiteral("pdf")), {QStringLiteral("Testdrucker")}};
    bool previewSeen = false;
    printroad::ReportFields moduleFields{data, printroad::ReportModuleBranches()};
    printroad::PrintLoop moduleLoop{moduleFields, window};
};

}

TEST_F(PrintLoopRealEngineTest, ALongInvoicePrintsToPdfOverSeveralPages)
{
    QDir().mkpath(scratchPath(QStringLiteral("pdf")));
    invoice(QStringLiteral("20260001"));
    moduleLoop.ListeTintlen(false);
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    // The printer check pass opens the printer but leaves no file.
    const QStringList files = QDir(scratchPath(QStringLiteral("pdf"))).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << files.join('|').toStdString();
    EXPECT_GE(pageCount(pdfPrinters.jobs().last().outputFile), 2);
    EXPECT_EQ(positionNumbers(QStringLiteral("20260001")).last(), 41);
}

TEST_F(PrintLoopRealEngineTest, ThePreviewFilesAreDeletedAfterThePreview)
{
    invoice(QStringLiteral("20260002"));
    window.chosen = printroad::Output::Bildschirm;
    moduleLoop.ListeTintlen(false);
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_TRUE(previewSeen);
    EXPECT_FALSE(
        QFile::exists(report::previewPath(ProgramPaths().FormularPfad + QStringLiteral("Auftrag_Rechnung.lst"))));
    EXPECT_TRUE(pdfPrinters.jobs().isEmpty());
}

namespace {

// A file system of its own that is full up to a few kilobytes, as the PDF
// folder on a full disk is; skipped where no file system can be mounted.
class FullFileSystem
{
public:
    explicit FullFileSystem(const QString &folder) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = ::mount("tintlen-voll", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=256k") == 0;
        if (!m_mounted)
            return;
        QFile filler(folder + QStringLiteral("/fueller.bin"));
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(4096, 'x');
        while (QStorageInfo(folder).bytesAvailable() > 8192 && filler.write(block) == block.size())
            filler.flush();
    }
    ~FullFileSystem()
    {
        if (m_mounted)
            ::umount(QFile::encodeName(m_folder).constData());
    }
    FullFileSystem(const FullFileSystem &) = delete;
    FullFileSystem &operator=(const FullFileSystem &) = delete;

    bool mounted() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};

}

TEST_F(PrintLoopRealEngineTest, AFullDiskNamesThePdfFolderAndLeavesNoHalfFile)
{
    const QString folder = scratchPath(QStringLiteral("pdf"));
    FullFileSystem full(folder);
    if (!full.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    unnumberPositions();
    invoice(QStringLiteral("20260001"));
    moduleLoop.ListeTintlen(false);
    ASSERT_EQ(services.messages().size(), 1) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("Fehler (Nr.-12)"));
    EXPECT_EQ(services.messages().first().text,
              QStringLiteral("Druck konnte nicht durchgeführt werden. Abbruch oder Fehler während des Drucks.\r\n"
                             "Der PDF-Drucker kann nicht in den Ordner \"%1\" schreiben: Es ist kein Platz mehr.")
                  .arg(folder));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("fueller.bin")));
    expectEverythingClosed();
}

// The form table may keep the name without its extension; the box names
// the file as it lies in the folder.
TEST_F(PrintLoopRealEngineTest, ALayoutCutInHalfIsCalledDamagedWithItsName)
{
    const QString layout = ProgramPaths().FormularPfad + QStringLiteral("Auftrag_Rechnung.lst");
    QFile file(layout);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    for (const QString &rowName : {QStringLiteral("Auftrag_Rechnung.lst"), QStringLiteral("Auftrag_Rechnung")}) {
        services.clear();
        invoice(QStringLiteral("20260002"));
        window.row.DateiErsteSeite = rowName;
        moduleLoop.ListeTintlen(false);
        ASSERT_EQ(services.messages().size(), 1) << rowName.toStdString();
        EXPECT_EQ(services.messages().first().caption, QStringLiteral("Fehler (Nr.-22)"));
        EXPECT_TRUE(services.messages().first().text.startsWith(
            QStringLiteral("Die Formulardatei %1 ist beschädigt (").arg(layout)))
            << services.messages().first().text.toStdString();
        EXPECT_TRUE(services.messages().first().text.contains(
            QStringLiteral("Öffnen Sie es über den \"Bearbeiten/Layout\"-Button, um zu retten, was sich lesen lässt")))
            << rowName.toStdString();
        expectEverythingClosed();
    }
}

// A layout that uses a name the print never defines is refused with one box
// that names the element, and no document goes out; the designer names it
// too. "Anzahl", defined at a list's end, is known from the start.
TEST_F(PrintLoopRealEngineTest, ANameNoDefinitionMadeStopsTheJobWithOneBoxAndNoDocument)
{
    report::Layout layout = demo::invoiceLayout();
    layout.objects.append(report::textObject("Betreff", {20, 95, 175, 5}, {"auftragnr + \" \" + Gibtsnicht"}));
    layout.objects.append(report::textObject("Zahl", {20, 5, 175, 5}, {"Anzahl"}));
    ASSERT_TRUE(report::saveLayout(ProgramPaths().FormularPfad + QStringLiteral("Auftrag_Rechnung.lst"), layout));
    QDir().mkpath(scratchPath(QStringLiteral("pdf")));
    invoice(QStringLiteral("20260002"));
    moduleLoop.ListeTintlen(false);
    ASSERT_EQ(services.messages().size(), 1);
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("Fehler (Nr.-23)"));
    EXPECT_EQ(services.messages().first().text,
              printroad::EngineErrorText(report::LL_ERR_EXPRESSION)
                  + QStringLiteral("\r\nDas Formular verwendet Namen, die beim Druck nicht bekannt sind:\r\n"
                                   "„Betreff“: Gibtsnicht"));
    EXPECT_TRUE(moduleLoop.layoutRefused());
    EXPECT_TRUE(QDir(scratchPath(QStringLiteral("pdf"))).entryList(QDir::Files).isEmpty());
    expectEverythingClosed();

    QString problem;
    report::setDialogRunner([&problem](QDialog &designer) {
        problem = designer.findChild<QLabel *>(QStringLiteral("problem"))->text();
        return int(QDialog::Rejected);
    });
    moduleLoop.Layout();
    EXPECT_EQ(problem, QStringLiteral("Unbekannte Namen:\n„Betreff“: Gibtsnicht"));
}

// Labels follow the list's loop and know its record count as well: a label
// layout naming it prints, and the designer does not call it unknown.
TEST_F(PrintLoopRealEngineTest, ALabelLayoutNamingTheRecordCountPrints)
{
    report::Layout layout = demo::addressLabelLayout();
    layout.objects.append(report::textObject("Zahl", {60, 2, 30, 4}, {"\"Anzahl \" + Anzahl"}));
    ASSERT_TRUE(report::saveLayout(ProgramPaths().FormularPfad + QStringLiteral("Auftrag_Etikett.lbl"), layout));
    QDir().mkpath(scratchPath(QStringLiteral("pdf")));
    request(QStringLiteral("Auftrag"), QStringLiteral("Etikett"), QStringLiteral("E"), QStringLiteral("A"));
    PrintRequest().Datensatz.clear();
    window.row = {QStringLiteral("Adressetikett"), QStringLiteral("Auftrag_Etikett.lbl"), 1};
    moduleLoop.EtikettTintlen(false);
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_FALSE(QDir(scratchPath(QStringLiteral("pdf"))).entryList(QDir::Files).isEmpty());
    expectEverythingClosed();

    QString problem = QStringLiteral("(nicht geöffnet)");
    report::setDialogRunner([&problem](QDialog &designer) {
        problem = designer.findChild<QLabel *>(QStringLiteral("problem"))->text();
        return int(QDialog::Rejected);
    });
    moduleLoop.Layout();
    EXPECT_EQ(problem, QString());
}

TEST_F(PrintLoopTest, ATableHeldByAnotherWorkstationEndsTheJobWithItsNameAndLeavesNothingOpen)
{
    freshTables();
    unnumberPositions();
    sqlite3 *other = nullptr;
    ASSERT_EQ(
        sqlite3_open(
            QFile::encodeName(os::resolvePath(ProgramPaths().DatenPfad + QStringLiteral("auftrag.db"))).constData(),
            &other),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    invoice(QStringLiteral("20260002"));
    try {
        loop.ListeTintlen(false);
        ADD_FAILURE() << "the job went on";
    } catch (const EDatabaseError &error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("gesperrt"))) << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains(QStringLiteral("uftrag"), Qt::CaseInsensitive))
            << error.Message().toStdString();
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_FALSE(loop.isRunning());
    EXPECT_EQ(positionNumbers(QStringLiteral("20260002")), QList<int>({-1, -1, -1}));
    expectEverythingClosed();
}

// The contacts of a customer who has none are a range without records.
TEST_F(PrintLoopTest, ASelectionWithoutRecordsIsSaidAndNothingPrinted)
{
    for (const auto &[module, key, filter, message] :
         {std::array<QString, 4>{"Kunden", "", "nr = 'gibt es nicht'",
                                 "Es wurde kein Datensatz ausgewählt, es wird nichts gedruckt."},
          {"Kontakte-K", "10002", "", "Keine druckbaren Daten gefunden!"}})
        for (const printroad::Output output : {printroad::Output::Standarddrucker, printroad::Output::Bildschirm}) {
            request(module, QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"), key);
            window.row = {QStringLiteral("Liste"), module + QStringLiteral("_Liste.lst"), 1};
            window.chosen = output;
            PrintRequest().Datenfilter = filter;
            services.clear();
            engine.calls.clear();
            loop.ListeTintlen(false);
            EXPECT_EQ(services.messageTexts(), QStringList(message)) << module.toStdString();
            EXPECT_EQ(engine.count(QStringLiteral("LlPrintWithBoxStart")), 0);
            EXPECT_EQ(engine.count(QStringLiteral("LlPreviewDisplay")), 0);
            expectEverythingClosed();
        }
}

TEST_F(PrintLoopTest, APrintThePrinterDidNotTakeIsReportedAndKeepsTheDefinedNumbers)
{
    freshTables();
    unnumberPositions();
    invoice(QStringLiteral("20260002"));
    engine.script(QStringLiteral("LlPrintEnd"), {0, report::LL_ERR_PRINTING_FAILED});
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messages().size(), 1);
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("Fehler (Nr.-12)"));
    EXPECT_EQ(positionNumbers(QStringLiteral("20260002")), QList<int>({1, 2, 3}));
    expectEverythingClosed();
}

TEST_F(PrintLoopTest, ATableThatCannotBeOpenedLeavesNoTableOpen)
{
    freshTables();
    ASSERT_TRUE(QFile::remove(os::resolvePath(ProgramPaths().DatenPfad + QStringLiteral("mitarbei.db"))));
    invoice(QStringLiteral("20260002"));
    EXPECT_THROW(loop.ListeTintlen(false), EDatabaseError);
    EXPECT_FALSE(isOpen(tcKopf));
    EXPECT_FALSE(isOpen(tcKunden));
    EXPECT_FALSE(isOpen(tcArtikel));
    expectEverythingClosed();
}

TEST_F(PrintLoopTest, ATaxRateProblemIsShownOncePerJob)
{
    freshTables();
    ASSERT_TRUE(QFile::remove(os::resolvePath(ProgramPaths().DatenPfad + QStringLiteral("StSatz.db"))));
    customerList(2);
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Datei StSatz.db ist nicht geöffnet!")));
    EXPECT_EQ(valuesAt(QStringLiteral("LlPrint"), QStringLiteral("Exemplar")), QStringList({"1", "2"}));
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messages().size(), 2);
}

TEST_F(PrintLoopTest, AFailedPreviewLeavesNoPreviewFiles)
{
    customerList();
    window.chosen = printroad::Output::Bildschirm;
    engine.script(QStringLiteral("LlPrintFields"), {0, report::LL_ERR_EXPRESSION});
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messages().size(), 1);
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("Fehler (Nr.-23)"));
    EXPECT_EQ(engine.count(QStringLiteral("LlPreviewDisplay")), 0);
    const QStringList calls = engine.callNames();
    const qsizetype deleted = calls.lastIndexOf(QStringLiteral("LlPreviewDeleteFiles"));
    ASSERT_GE(deleted, 0);
    EXPECT_EQ(calls.at(deleted - 1), QStringLiteral("LlPrintEnd"));
    EXPECT_EQ(calls.at(deleted + 1), QStringLiteral("LlJobClose"));
    expectEverythingClosed();
}
