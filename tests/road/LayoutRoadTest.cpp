#include "RoadScript.h"
#include "UserFiles.h"

#include "app/DruckPrg.h"
#include "app/Program.h"
#include "app/bearbeitenform.h"
#include "demo/install/DemoInstallation.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/os/SystemPrinterService.h"
#include "platform/ui/Application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The demo installation in a folder of the test's own, its documents going
// to the built-in PDF printer.
class LayoutRoadTest : public ::testing::Test
{
protected:
    void SetUp() override
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
    }

    void TearDown() override
    {
        os::PrinterService::setInstance(nullptr);
        os::setExecutableFolder(QString());
    }

    QString invoiceLayout() const
    {
        const QString forms = TIniFile(root.filePath(QStringLiteral("programm/Tintlen.ini")))
                                  .ReadString(QStringLiteral("Init"), QStringLiteral("FormularPfad"), QString());
        return QDir(forms).filePath(QStringLiteral("Auftrag_Rechnung.lst"));
    }

    // Starts the program as `main` does and lets `steps` drive it; returns
    // the exit code once its message loop has ended.
    int runProgramWith(const std::function<void(RoadScript &)> &steps)
    {
        int argc = 1;
        char name[] = "tintlen";
        char *argv[] = {name, nullptr};
        QCoreApplication::setApplicationName(QStringLiteral("Tintlen"));
        ui::Application app(argc, argv);
        app.setTitle(QStringLiteral("Tintlen"));
        RoadScript script;
        steps(script);
        script.start();
        const int exitCode = runProgram(app);
        stoppedAt = script.stoppedAt();
        return exitCode;
    }

    QString stoppedAt;
    QTemporaryDir root;
    os::SystemPrinterService printers;
};

bool invoiceFormsShown()
{
    return frmPrintMan && frmPrintMan->isVisible() && !frmPrintMan->isMinimized() && frmPrintMan->tblForm->Active()
           && frmPrintMan->tblForm->FieldByName(QStringLiteral("Modul"))->AsString() == QLatin1String("Auftrag");
}

}

// "Layout bearbeiten" on a damaged invoice form, as the print's error box
// advises: a form of this program opens in the designer on what could be
// read, after a box says so; one that is not of this program is left as it
// is, and a box says why. Either way the program runs on.
TEST_F(LayoutRoadTest, ADamagedFormOpensInTheDesignerOrABoxSaysWhy)
{
    const struct
    {
        const char *what;
        std::function<QByteArray(const QByteArray &)> damage;
        const char *box;
        bool designer;
    } cases[] = {
        {"cut short", [](const QByteArray &sound) { return sound.left(sound.size() / 2); },
         "Der Entwurf zeigt, was sich davon lesen ließ", true},
        {"not of this program", [](const QByteArray &) { return QByteArray("\x00\x01\x02LL binary", 12); },
         "kann nicht im Entwurf geöffnet werden: Die Datei ist keine Layoutdatei dieses Programms", false},
    };
    QFile layout(invoiceLayout());
    ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
    const QByteArray sound = layout.readAll();
    layout.close();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray damaged = c.damage(sound);
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly | QIODevice::Truncate));
        layout.write(damaged);
        layout.close();
        QString boxText;
        bool designerOpened = false;
        const int exitCode = runProgramWith([&](RoadScript &script) {
            script.waitFor(QStringLiteral("the main window listing the invoice forms"), invoiceFormsShown);
            script.act(QStringLiteral("Alt+E for the form maintenance"),
                       [] { pressKey(frmPrintMan, Qt::Key_E, Qt::AltModifier); });
            script.waitFor(
                QStringLiteral("the form maintenance"), [] { return shownWindow("TfrmBearbeiten"); },
                [] { QTest::mouseClick(frmBearbeiten->btnBearbeiten, Qt::LeftButton); });
            script.waitFor(
                QStringLiteral("the box about the damaged form"), [] { return !shownBoxText().isEmpty(); },
                [&boxText] {
                    boxText = shownBoxText();
                    confirmBox();
                });
            if (c.designer) {
                script.waitFor(
                    QStringLiteral("the layout designer"), [] { return shownWindow("report::LayoutDesigner"); },
                    [&designerOpened] {
                        designerOpened = true;
                        pressKey(shownWindow("report::LayoutDesigner"), Qt::Key_Escape);
                    });
            }
            script.waitFor(
                QStringLiteral("the form maintenance again"),
                [] {
                    return !shownWindow("report::LayoutDesigner") && shownWindow("TfrmBearbeiten")
                           && shownBoxText().isEmpty();
                },
                [] { pressKey(shownWindow("TfrmBearbeiten"), Qt::Key_Escape); });
            script.waitFor(QStringLiteral("the main window alone"),
                           [] { return frmPrintMan->isVisible() && !QApplication::activeModalWidget(); });
            script.act(QStringLiteral("Abbruch"), [] { QTest::mouseClick(frmPrintMan->btnAbbruch, Qt::LeftButton); });
        });
        EXPECT_EQ(stoppedAt, QString());
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(boxText.contains(QString::fromUtf8(c.box))) << boxText.toStdString();
        EXPECT_EQ(designerOpened, c.designer);
        ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
        EXPECT_EQ(layout.readAll(), damaged);
        layout.close();
    }
}
