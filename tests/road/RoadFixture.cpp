#include "RoadFixture.h"
#include "UserFiles.h"

#include "app/DruckPrg.h"
#include "app/Program.h"
#include "app/bearbeitenform.h"
#include "demo/install/DemoInstallation.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/ui/Application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <vector>

namespace {

const QString init = QStringLiteral("Init");

}

void RoadFixture::SetUp()
{
    ASSERT_TRUE(root.isValid());
    isolateUserFiles(root.path());
    const QString runtime = root.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    demo::buildInstallation(root.path(), QString());
    os::setExecutableFolder(root.filePath(QStringLiteral("programm")));
    os::PrinterService::setInstance(&printers);
    printers.setCurrentPrinter(os::SystemPrinterService::BuiltinPdfName);
    TIniFile(iniPath()).WriteInteger(QStringLiteral("E-Mail-Server"), QStringLiteral("Port"), server.port());
}

void RoadFixture::TearDown()
{
    os::PrinterService::setInstance(nullptr);
    os::setExecutableFolder(QString());
}

QString RoadFixture::iniPath() const
{
    return root.filePath(QStringLiteral("programm/Tintlen.ini"));
}

QString RoadFixture::readInit(const QString &key) const
{
    return TIniFile(iniPath()).ReadString(init, key, QStringLiteral("-"));
}

void RoadFixture::writeInit(const QString &key, const QString &value)
{
    TIniFile(iniPath()).WriteString(init, key, value);
}

QString RoadFixture::pdfs() const
{
    return QDir(root.filePath(QStringLiteral("pdf"))).entryList({"*.pdf"}).join(QLatin1Char(','));
}

int RoadFixture::runProgramWith(const std::function<void(RoadScript &)> &steps, const QStringList &arguments)
{
    std::vector<QByteArray> texts{QByteArrayLiteral("tintlen")};
    for (const QString &argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    int argc = int(texts.size());
    QCoreApplication::setApplicationName(QStringLiteral("Tintlen"));
    ui::Application app(argc, argv.data());
    app.setTitle(QStringLiteral("Tintlen"));
    RoadScript script;
    steps(script);
    script.start();
    const int exitCode = runProgram(app);
    stoppedAt = script.stoppedAt();
    return exitCode;
}

bool requestShown(const QString &module)
{
    return frmPrintMan && frmPrintMan->isVisible() && !frmPrintMan->isMinimized() && frmPrintMan->tblForm->Active()
           && frmPrintMan->tblForm->FieldByName(QStringLiteral("Modul"))->AsString() == module;
}

void waitForTheInvoiceRequest(RoadScript &script)
{
    script.waitFor(QStringLiteral("the main window listing the invoice forms"),
                   [] { return requestShown(QStringLiteral("Auftrag")); });
}

void clickAbbruch(RoadScript &script)
{
    script.act(QStringLiteral("Abbruch"), [] { QTest::mouseClick(frmPrintMan->btnAbbruch, Qt::LeftButton); });
}

void askForTheLayout(RoadScript &script)
{
    script.act(QStringLiteral("Alt+E for the form maintenance"),
               [] { pressKey(frmPrintMan, Qt::Key_E, Qt::AltModifier); });
    script.waitFor(
        QStringLiteral("the form maintenance"), [] { return shownWindow("TfrmBearbeiten"); },
        [] { QTest::mouseClick(frmBearbeiten->btnBearbeiten, Qt::LeftButton); });
}

void leaveFormMaintenanceAndQuit(RoadScript &script)
{
    script.waitFor(
        QStringLiteral("the form maintenance again"),
        [] {
            return !shownWindow("report::LayoutDesigner") && shownWindow("TfrmBearbeiten") && shownBoxText().isEmpty();
        },
        [] { pressKey(shownWindow("TfrmBearbeiten"), Qt::Key_Escape); });
    script.waitFor(QStringLiteral("the main window alone"),
                   [] { return frmPrintMan->isVisible() && !QApplication::activeModalWidget(); });
    clickAbbruch(script);
}

bool inTheBackground()
{
    return frmPrintMan->isMinimized() || !frmPrintMan->isVisible();
}
