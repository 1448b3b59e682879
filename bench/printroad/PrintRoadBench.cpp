// Measures the whole print road (request to PDF: tables, records, fields,
// print loop, engine) against the report engine alone making exactly the
// same calls on the same layout and data, and a document on a grown table
// against the same document on the demo tables. One line per comparison,
// each ending in its ratio. Run it from a Release build.

#include "BenchRounds.h"
#include "CallReplay.h"

#include "app/PrintRequest.h"
#include "app/printroad/PrintRoad.h"
#include "app/printroad/ReportModules.h"
#include "demo/install/DemoInstallation.h"
#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/DemoRows.h"
#include "demo/tables/DemoTables.h"
#include "demo/tables/TableCatalog.h"
#include "demo/tables/TableWriter.h"
#include "platform/db/TSession.h"
#include "platform/os/Paths.h"
#include "platform/os/SystemPrinterService.h"
#include "platform/report/ReportEngine.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The main window as the print road sees it: one form row, printed on the
// built-in PDF printer.
class BenchWindow : public printroad::PrintWindow
{
public:
    printroad::FormRow row;

    printroad::FormRow currentFormRow() const override { return row; }
    printroad::Output output() const override { return printroad::Output::Standarddrucker; }
    QString standardPrinterText() const override { return QStringLiteral("Tintlen PDF an PDF"); }
    QString formPrinterText() const override { return {}; }
    void focusStandardPrinterList() override {}
    void focusFormPrinterList() override {}
    bool withOptions() const override { return false; }
    int typedCopies() const override { return 0; }
    void forgetTypedCopies() override {}
    bool closeAfterJob() const override { return false; }
    bool backgroundAfterJob() const override { return false; }
    void closeMainWindow() override {}
    void minimizeApplication(bool) override {}
    QWidget *activeWindow() const override { return nullptr; }
};

// The demo order's own positions.
constexpr int demoOrderPositions = 46;

// The demo positions and then `extra` positions more for the demo order.
demo::Rows positionsWithLongOrder(int extra)
{
    demo::Rows rows = demo::demoRows(QStringLiteral("atrpos.db"));
    for (int i = 0; i < extra; ++i) {
        demo::Row row = demo::bulkPositionRow(i);
        row.insert(QStringLiteral("auftragnr"), demo::demoOrderNumber);
        row.insert(QStringLiteral("posnr"), 1000 + i);
        row.insert(QStringLiteral("kundennr"), QStringLiteral("10001"));
        rows.append(row);
    }
    return rows;
}

// An installation below `root`: the demo tables and layouts, the position
// table as `writePositions` writes it.
void writeInstallation(const QString &root, const std::function<void(const QString &)> &writePositions)
{
    demo::DemoOptions options;
    options.dataFolder = root + QStringLiteral("/daten");
    demo::writeTables(options);
    writePositions(options.dataFolder);
    demo::writeLayouts(root + QStringLiteral("/formulare"));
}

void useInstallation(const QString &root)
{
    TProgramPaths &paths = ProgramPaths();
    paths.DatenPfad = root + QStringLiteral("/daten/");
    paths.UserPfad = root + QStringLiteral("/benutzer/");
    paths.FormularPfad = root + QStringLiteral("/formulare/");
    if (Session()->IsAlias(QStringLiteral("zvuser")))
        Session()->DeleteAlias(QStringLiteral("zvuser"));
    Session()->AddStandardAlias(QStringLiteral("zvuser"), root + QStringLiteral("/benutzer"),
                                QStringLiteral("STANDARD"));
}

struct Request
{
    QString type;
    QString kind;
    QString range;
    printroad::FormRow row;
};

const Request invoice{QStringLiteral("Rechnung"),
                      QStringLiteral("L"),
                      QStringLiteral("E"),
                      {QStringLiteral("Rechnung"), QStringLiteral("Auftrag_Rechnung.lst"), 1}};
const Request articleLabels{QStringLiteral("EtikettArt"),
                            QStringLiteral("E"),
                            QStringLiteral("M"),
                            {QStringLiteral("Artikeletikett"), QStringLiteral("Auftrag_EtikettArt.lbl"), 1}};

class Bench
{
public:
    explicit Bench(const QString &pdfFolder) : m_pdfFolder(pdfFolder) { ui::installServices(&m_services); }
    ~Bench() { ui::installServices(nullptr); }

    // The print road from the request to the PDF.
    void printRoad(const QString &root, const Request &request)
    {
        useInstallation(root);
        TPrintRequest &r = PrintRequest();
        r = TPrintRequest{};
        r.Modul = QStringLiteral("Auftrag");
        r.FormFilterTyp = request.type;
        r.FormTyp = request.kind;
        r.Datenbereich = request.range;
        r.Datensatz = demo::demoOrderNumber;
        m_window.row = request.row;
        printroad::PrintRoad road(m_window, printroad::ReportModuleBranches());
        road.job.Tintlen();
        reportMessages();
        clearPdfs();
    }

    // The engine alone: the calls the print road made, made again.
    void engineAlone(const CallReplay &calls)
    {
        calls.replay(report::engine());
        clearPdfs();
    }

    std::unique_ptr<CallReplay> record(const QString &root, const Request &request)
    {
        auto replay = std::make_unique<CallReplay>(report::engine());
        report::setEngine(replay.get());
        printRoad(root, request);
        report::setEngine(nullptr);
        return replay;
    }

private:
    void clearPdfs()
    {
        QDir folder(m_pdfFolder);
        const QStringList pdfs = folder.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        if (pdfs.isEmpty())
            std::fprintf(stderr, "no PDF was written\n");
        for (const QString &pdf : pdfs)
            folder.remove(pdf);
    }

    void reportMessages()
    {
        for (const QString &text : m_services.messageTexts())
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        m_services.clear();
    }

    QString m_pdfFolder;
    BenchWindow m_window;
    ui::RecordingUiServices m_services;
};

void compareWithEngine(Bench &bench, const char *name, const QString &root, const Request &request, int rounds,
                       const std::function<void()> &prepareRoad = {})
{
    if (prepareRoad)
        prepareRoad();
    const std::unique_ptr<CallReplay> calls = bench.record(root, request);
    bench::compare(
        name, [&] { bench.printRoad(root, request); }, [&] { bench.engineAlone(*calls); }, rounds, prepareRoad);
}

// Writes the demo order grown by `extra` positions into a data folder.
std::function<void(const QString &)> longOrder(int extra)
{
    return [extra](const QString &folder) {
        demo::writeTable(QStringLiteral("atrpos.db"), folder, positionsWithLongOrder(extra));
    };
}

// The first print of an invoice numbers its positions: every run of the
// road starts from positions as the suite wrote them, never printed.
void compareFirstPrint(Bench &bench, const QTemporaryDir &dir, int extra)
{
    const QString root = dir.filePath(QStringLiteral("erstdruck%1").arg(extra));
    writeInstallation(root, longOrder(extra));
    const QString positions = root + QStringLiteral("/daten/atrpos.db");
    const QString unprinted = root + QStringLiteral("/atrpos-ungedruckt.db");
    QFile::copy(positions, unprinted);
    const auto freshPositions = [&] {
        QFile::remove(positions);
        QFile::copy(unprinted, positions);
    };
    const QByteArray name = QStringLiteral("first print, invoice of %1 positions: road / engine alone")
                                .arg(extra + demoOrderPositions)
                                .toUtf8();
    compareWithEngine(bench, name.constData(), root, invoice, 5, freshPositions);
}

}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("TINTLEN_REGISTRY", dir.filePath(QStringLiteral("registry.ini")).toUtf8());
    qputenv("TINTLEN_SETTINGS", dir.filePath(QStringLiteral("settings.ini")).toUtf8());
    qputenv("TINTLEN_PDF_DIR", dir.filePath(QStringLiteral("pdf")).toUtf8());
    Session()->SetConfigFile(dir.filePath(QStringLiteral("aliases.ini")));
    os::setExecutableFolder(dir.path());
    os::SystemPrinterService printers;
    os::PrinterService::setInstance(&printers);
    printers.setCurrentPrinter(os::SystemPrinterService::BuiltinPdfName);

    Bench bench(dir.filePath(QStringLiteral("pdf")));
    // "--speicher <positions>": one print of the demo invoice grown by that
    // many positions, measured in a process of its own.
    if (argc == 3 && QByteArray(argv[1]) == "--speicher") {
        const QString root = dir.filePath(QStringLiteral("speicher"));
        writeInstallation(root, longOrder(QByteArray(argv[2]).toInt()));
        return bench::runMeasured([&] { bench.printRoad(root, invoice); });
    }
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    auto wanted = [&](const char *name) { return only.isEmpty() || only == QLatin1String(name); };
    if (wanted("invoice")) {
        const QString root = dir.filePath(QStringLiteral("rechnung"));
        writeInstallation(root, longOrder(10000));
        compareWithEngine(bench, "invoice of 10046 positions: road / engine alone", root, invoice, 5);
    }
    if (wanted("firstprint")) {
        compareFirstPrint(bench, dir, 1000);
        compareFirstPrint(bench, dir, 10000);
    }
    if (wanted("memory"))
        bench::compareMemory("invoice memory: 10046 positions / 1046 positions", {"--speicher", "10000"},
                             {"--speicher", "1000"});
    if (wanted("labels")) {
        const QString root = dir.filePath(QStringLiteral("etiketten"));
        writeInstallation(root, longOrder(20000));
        compareWithEngine(bench, "20016 article labels: road / engine alone", root, articleLabels, 5);
    }
    if (wanted("grown")) {
        const QString demoRoot = dir.filePath(QStringLiteral("demo"));
        const QString grownRoot = dir.filePath(QStringLiteral("gross"));
        writeInstallation(demoRoot, [](const QString &) {});
        writeInstallation(grownRoot, [](const QString &folder) { demo::writePositionTable(folder, 500000); });
        bench::compare(
            "demo invoice: 500000 positions / demo tables", [&] { bench.printRoad(grownRoot, invoice); },
            [&] { bench.printRoad(demoRoot, invoice); }, 9);
    }
    return 0;
}
