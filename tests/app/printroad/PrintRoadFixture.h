#pragma once

#include "../GoldenFiles.h"

#include "app/PrintRequest.h"
#include "app/printroad/PrintLoop.h"
#include "app/printroad/ReportData.h"
#include "app/printroad/ReportFields.h"
#include "demo/tables/DemoTables.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/os/Paths.h"
#include "platform/report/ReportEngine.h"
#include "platform/runtime/DateTime.h"
#include "support/FakePrinterService.h"
#include "support/RecordingEngine.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The demo tables written once into a folder of their own, the program
// paths pointing at them, and the recording engine and UI services in place.
// Tests that write into tables copy the installation first (freshTables).
class PrintRoadFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_demo = std::make_unique<QTemporaryDir>();
        demo::writeTables(s_demo->filePath(QStringLiteral("daten")));
    }

    static void TearDownTestSuite() { s_demo.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_scratch.isValid());
        m_savedAliases = Session()->ConfigFile();
        Session()->SetConfigFile(m_scratch.filePath(QStringLiteral("aliases.ini")));
        useInstallation(s_demo->path());
        ui::installServices(&services);
        services.setNow(QDateTime(QDate(2026, 11, 20), QTime(9, 30)));
        report::setEngine(&engine);
        os::setExecutableFolder(m_scratch.path());
        PrintRequest() = TPrintRequest{};
        data.job() = printroad::JobState{};
    }

    void TearDown() override
    {
        data.OpenDBs(false);
        report::setEngine(nullptr);
        ui::installServices(nullptr);
        Session()->SetConfigFile(m_savedAliases);
    }

    // Points the program at an installation below `root`.
    void useInstallation(const QString &root)
    {
        TProgramPaths &paths = ProgramPaths();
        paths.DatenPfad = root + QStringLiteral("/daten/");
        paths.UserPfad = root + QStringLiteral("/benutzer/");
        paths.FormularPfad = root + QStringLiteral("/formulare/");
        paths.DatenpfadQRB = QString();
        if (Session()->IsAlias(QStringLiteral("zvuser")))
            Session()->DeleteAlias(QStringLiteral("zvuser"));
        Session()->AddStandardAlias(QStringLiteral("zvuser"), root + QStringLiteral("/benutzer"),
                                    QStringLiteral("STANDARD"));
    }

    // The demo's documents come numbered as printed before; a test of the
    // first print needs documents that were never printed.
    static void unnumberPositions()
    {
        TTable positions;
        positions.SetDatabaseName(ProgramPaths().DatenPfad);
        positions.SetTableName(QStringLiteral("atrpos.db"));
        positions.Open();
        for (positions.First(); !positions.Eof(); positions.Next()) {
            positions.Edit();
            positions.FieldByName(QStringLiteral("posdruck"))->Clear();
            positions.Post();
        }
    }

    // A copy of the demo tables for a test that writes.
    void freshTables()
    {
        const QString root = m_scratch.filePath(QStringLiteral("kopie"));
        QDirIterator files(s_demo->path(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString source = files.next();
            const QString target = root + source.mid(s_demo->path().size());
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(source, target)) << target.toStdString();
        }
        useInstallation(root);
    }

    void request(const QString &module, const QString &formType, const QString &kind, const QString &range,
                 const QString &key = QString())
    {
        TPrintRequest &r = PrintRequest();
        r = TPrintRequest{};
        r.Modul = module;
        r.FormFilterTyp = formType;
        r.FormTyp = kind;
        r.Datenbereich = range;
        r.Datensatz = key;
    }

    QString scratchPath(const QString &name) const { return m_scratch.filePath(name); }

    static QString tableName(TTable *slot)
    {
        return slot ? QFileInfo(QString(slot->TableName()).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName()
                    : QString();
    }
    static bool isOpen(TTable *slot) { return slot && slot->Active(); }

    ui::RecordingUiServices services;
    report::RecordingEngine engine;
    printroad::ReportData data;

private:
    static inline std::unique_ptr<QTemporaryDir> s_demo;
    QTemporaryDir m_scratch;
    QString m_savedAliases;
};

// The main window as the print road sees it: what the user chose.
class TestPrintWindow : public printroad::PrintWindow
{
public:
    printroad::FormRow row{QStringLiteral("Kundenliste"), QStringLiteral("Kunden_Liste.lst"), 1};
    printroad::Output chosen = printroad::Output::Standarddrucker;
    QString standardText = QStringLiteral("Testdrucker an LPT1:");
    QString formText;
    bool options = false;
    int typed = 0;
    bool closeAfter = false;
    bool background = false;
    QStringList actions;

    printroad::FormRow currentFormRow() const override { return row; }
    printroad::Output output() const override { return chosen; }
    QString standardPrinterText() const override { return standardText; }
    QString formPrinterText() const override { return formText; }
    void focusStandardPrinterList() override { actions << QStringLiteral("focus lstStdDrucker"); }
    void focusFormPrinterList() override { actions << QStringLiteral("focus lstFrmDrucker"); }
    bool withOptions() const override { return options; }
    int typedCopies() const override { return typed; }
    void forgetTypedCopies() override { typed = 0; }
    bool closeAfterJob() const override { return closeAfter; }
    bool backgroundAfterJob() const override { return background; }
    void closeMainWindow() override { actions << QStringLiteral("close"); }
    void minimizeApplication(bool hide) override
    {
        actions << (hide ? QStringLiteral("minimize+hide") : QStringLiteral("minimize"));
    }
    QWidget *activeWindow() const override { return nullptr; }
};

// Module branches for the tests of the frame and the loop: every field of
// the main table as the loop asks, the keys each job was started with, and
// for documents the numbering of their positions.
struct TestBranches
{
    QStringList jobKeys;

    int allFields(printroad::ReportFields &fields, int job, TTable *&slot, bool asVariables)
    {
        int limit = 0;
        if (!slot) {
            jobKeys << PrintRequest().Datensatz;
            limit = fields.data().GetRecords(slot, QString());
            if (limit == printroad::NothingToPrint)
                return limit;
            fields.DefineCommVars(job, Date());
        }
        fields.TCDefineFields(job, tc, asVariables, false, QString());
        return limit;
    }

    int document(printroad::ReportFields &fields, int job, TTable *&slot, bool asVariables)
    {
        if (slot) {
            fields.TCDefineFields(job, tc, asVariables, false, QString());
            return 0;
        }
        jobKeys << PrintRequest().Datensatz;
        if (fields.data().GetRecords(slot, QString()) == printroad::NothingToPrint)
            return printroad::NothingToPrint;
        const int limit = fields.data().NumberPositions(tc, PrintRequest().Datensatz);
        fields.DefineLookup(job, tcKopf, {PrintRequest().Datensatz}, true, QString());
        fields.TCDefineFields(job, tc, asVariables, false, QString());
        return limit;
    }

    QList<printroad::ModuleBranch> branches()
    {
        using namespace std::placeholders;
        const printroad::ModuleFieldsRoutine all = std::bind(&TestBranches::allFields, this, _1, _2, _3, _4);
        const printroad::ModuleFieldsRoutine documents = std::bind(&TestBranches::document, this, _1, _2, _3, _4);
        return {{QStringLiteral("Auftrag"), false,
                 [all, documents](printroad::ReportFields &f, int job, TTable *&slot, bool asVariables) {
                     const bool positions = tableIsPositions();
                     return positions ? documents(f, job, slot, asVariables) : all(f, job, slot, asVariables);
                 }},
                {QString(), true, all}};
    }

    static bool tableIsPositions() { return tc && tc->FindField(QStringLiteral("posdruck")) != nullptr; }
};

// The print loop on the recording engine and test printers, with the test
// branches behind it.
class PrintLoopFixture : public PrintRoadFixture
{
protected:
    void SetUp() override
    {
        PrintRoadFixture::SetUp();
        printers.setCurrentPrinter(QStringLiteral("Testdrucker"));
        os::PrinterService::setInstance(&printers);
    }

    void TearDown() override
    {
        os::PrinterService::setInstance(nullptr);
        PrintRoadFixture::TearDown();
    }

    os::FakePrinterService printers{QString(),
                                    {QStringLiteral("Testdrucker"), QStringLiteral("Laserdrucker Buchhaltung")}};
    TestPrintWindow window;
    TestBranches branches;
    printroad::ReportFields fields{data, branches.branches()};
    printroad::PrintLoop loop{fields, window};
};
