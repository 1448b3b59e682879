#pragma once

#include "app/PrintRequest.h"
#include "app/ReportData.h"
#include "app/ReportFields.h"
#include "demo/tables/DemoTables.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/os/Paths.h"
#include "platform/report/RecordingEngine.h"
#include "platform/report/ReportEngine.h"
#include "platform/runtime/DateTime.h"
#include "platform/ui/RecordingUiServices.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        Session()->AddStandardAlias(QStringLiteral("zvuser"), root + QStringLiteral("/benutzer"), QStringLiteral("STANDARD"));
    }

    // A copy of the demo tables for a test that writes.
    void freshTables()
    {
        const QString root = m_scratch.filePath(QStringLiteral("kopie"));
        demo::writeTables(root + QStringLiteral("/daten"));
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
        return slot ? QFileInfo(QString(slot->TableName()).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName() : QString();
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
