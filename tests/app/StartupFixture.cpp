#include "StartupFixture.h"

#include "demo/tables/DemoTables.h"
#include "demo/tables/MailProgramFolder.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/report/ReportEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <utility>

namespace {

// The demo tables take a while to write; each test copies one set.
QTemporaryDir &tableTemplate()
{
    static QTemporaryDir folder;
    return folder;
}

void copyFolder(const QString &from, const QString &to)
{
    QDirIterator files(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(source, target)) << source.toStdString();
    }
}

}

int HookedUiServices::messageBox(const QString &text, const QString &caption, ui::MsgIcon icon, ui::MsgButtons buttons,
                                 int defaultButton)
{
    const int answer = RecordingUiServices::messageBox(text, caption, icon, buttons, defaultButton);
    if (whileBoxIsUp)
        std::exchange(whileBoxIsUp, {})();
    return answer;
}

void StartupFixture::SetUpTestSuite()
{
    static bool written = false;
    if (written)
        return;
    demo::DemoOptions options;
    options.dataFolder = tableTemplate().filePath(QStringLiteral("daten"));
    QDir().mkpath(options.dataFolder);
    demo::writeTables(options);
    written = true;
}

void StartupFixture::SetUp()
{
    ASSERT_TRUE(root.isValid());
    copyFolder(tableTemplate().path(), root.path());
    // The mail program's ini files name its folders: point them at the copy.
    demo::writeMailProgramFiles(demo::mailProgramPaths(path(QStringLiteral("kuvertalia"))), false);
    for (const char *folder : {"programm", "formulare", "temp"})
        QDir().mkpath(path(QString::fromLatin1(folder)));
    os::setExecutableFolder(programFolder());
    m_savedRegistry = qgetenv("TINTLEN_REGISTRY");
    qputenv("TINTLEN_REGISTRY", path(QStringLiteral("registry.ini")).toUtf8());
    os::PrinterService::setInstance(&printers);
    restart();
}

void StartupFixture::restart()
{
    m_window.reset();
    services.clear();
    writeInit(QStringLiteral("FormularPfad"), path(QStringLiteral("formulare")));
    writeInit(QStringLiteral("DatenPfad"), dataFolder());
    writeInit(QStringLiteral("UserPfad"), path(QStringLiteral("benutzer")));
    writeInit(QStringLiteral("TempPfad"), path(QStringLiteral("temp")));
    writeInit(QStringLiteral("ToPrint"), QStringLiteral("Auftrag"));
    writeRequest(QStringLiteral("FormFilterTyp"), QStringLiteral("Rechnung"));
    writeRequest(QStringLiteral("FormTyp"), QStringLiteral("L"));
    writeRequest(QStringLiteral("Datenbereich"), QStringLiteral("E"));
    writeRequest(QStringLiteral("Datensatz"), QStringLiteral("20260001"));
}

void StartupFixture::TearDown()
{
    m_window.reset();
    os::PrinterService::setInstance(nullptr);
    os::setExecutableFolder(QString());
    qputenv("TINTLEN_REGISTRY", m_savedRegistry);
}

QString StartupFixture::path(const QString &relative) const
{
    return root.filePath(relative);
}

QString StartupFixture::iniPath() const
{
    return programFolder() + QStringLiteral("/Tintlen.ini");
}

void StartupFixture::writeInit(const QString &key, const QString &value)
{
    TIniFile(iniPath()).WriteString(QStringLiteral("Init"), key, value);
}

void StartupFixture::writeRequest(const QString &key, const QString &value)
{
    TIniFile ini(iniPath());
    ini.WriteString(ini.ReadString(QStringLiteral("Init"), QStringLiteral("ToPrint"), QString()), key, value);
}

QString StartupFixture::readInit(const QString &key) const
{
    return TIniFile(iniPath()).ReadString(QStringLiteral("Init"), key, QStringLiteral("<fehlt>"));
}

void StartupFixture::registerMailProgram()
{
    TRegistry registry;
    registry.SetRootKey(TRegistry::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKey(QStringLiteral("Software\\Velmora\\Kuvertalia\\1.0"), true));
    registry.WriteString(QStringLiteral("Pfad"), path(QStringLiteral("kuvertalia")));
}

TfrmPrintMan &StartupFixture::window()
{
    if (!m_window)
        m_window = std::make_unique<TfrmPrintMan>();
    return *m_window;
}

TfrmPrintMan &StartupFixture::activatedWindow()
{
    TfrmPrintMan &form = window();
    form.show();
    form.AppShow();
    processEvents();
    return form;
}

void StartupFixture::processEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void RecordingWindowFixture::SetUp()
{
    StartupFixture::SetUp();
    printers.setCurrentPrinter(QStringLiteral("Tintlen PDF"));
    report::setEngine(&engine);
}

void RecordingWindowFixture::TearDown()
{
    report::setEngine(nullptr);
    StartupFixture::TearDown();
}

TfrmPrintMan &RecordingWindowFixture::shownWindow()
{
    if (!m_activated) {
        activatedWindow();
        m_activated = true;
        services.clear();
    }
    return window();
}
