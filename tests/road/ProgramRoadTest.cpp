#include "RoadFixture.h"
#include "TextPrinting.h"

#include "app/DruckPrg.h"
#include "app/bearbeitenform.h"
#include "app/dbmodul.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"
#include "platform/ui/Application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString init = QStringLiteral("Init");

class ProgramRoadTest : public RoadFixture
{};

struct WindowBehaviour
{
    const char *name;
    // The requested form of the demo order, and the file it prints to.
    const char *form;
    const char *formType;
    const char *pdf;
    const char *schliessen;
    const char *hintergrund;
    // How the main window looks after the job; null: the program has ended.
    std::function<bool()> afterJob;
};

void PrintTo(const WindowBehaviour &behaviour, std::ostream *out)
{
    *out << behaviour.name;
}

class PrintBehaviourRoadTest : public ProgramRoadTest, public ::testing::WithParamInterface<WindowBehaviour>
{};

}

// Alt+T prints the requested invoice into a PDF; then the window closes (and
// the program ends), goes to the background, or stays, as ticked. A program
// in the background takes the next request when it is activated again.
TEST_P(PrintBehaviourRoadTest, PrintingEndsWithTheChosenWindowBehaviour)
{
    const WindowBehaviour &behaviour = GetParam();
    TIniFile(iniPath()).WriteString(QStringLiteral("Auftrag"), QStringLiteral("FormFilterTyp"),
                                    QString::fromLatin1(behaviour.form));
    TIniFile(iniPath()).WriteString(QStringLiteral("Auftrag"), QStringLiteral("FormTyp"),
                                    QString::fromLatin1(behaviour.formType));
    writeInit(QStringLiteral("Schliessen"), QString::fromLatin1(behaviour.schliessen));
    writeInit(QStringLiteral("InDenHintergrund"), QString::fromLatin1(behaviour.hintergrund));
    const bool ends = !behaviour.afterJob;

    const int exitCode = runProgramWith([&](RoadScript &script) {
        waitForTheInvoiceRequest(script);
        script.act(QStringLiteral("Alt+T"), [] { pressKey(frmPrintMan, Qt::Key_T, Qt::AltModifier); });
        if (ends)
            return;
        script.waitFor(QStringLiteral("the job done: its PDF written, the program open for the next request"),
                       [this] { return !pdfs().isEmpty() && frmPrintMan->ActivationOpen; });
        script.waitFor(QStringLiteral("the window as chosen after the job"), behaviour.afterJob);
        script.act(QStringLiteral("a new request, and the program activated"), [this] {
            TIniFile ini(iniPath());
            ini.WriteString(init, QStringLiteral("ToPrint"), QStringLiteral("Kunden"));
            ini.WriteString(QStringLiteral("Kunden"), QStringLiteral("FormFilterTyp"), QStringLiteral("Liste"));
            ini.WriteString(QStringLiteral("Kunden"), QStringLiteral("FormTyp"), QStringLiteral("L"));
            ini.WriteString(QStringLiteral("Kunden"), QStringLiteral("Datenbereich"), QStringLiteral("A"));
            frmPrintMan->showNormal();
            ui::Application::instance()->activate();
        });
        script.waitFor(QStringLiteral("the customer forms listed"),
                       [] { return requestShown(QStringLiteral("Kunden")); });
        clickAbbruch(script);
    });

    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(pdfs().startsWith(QString::fromUtf8(behaviour.pdf))) << pdfs().toStdString();
    // What the window showed is what the program wrote back when it closed.
    EXPECT_EQ(readInit(QStringLiteral("Schliessen")), QString::fromLatin1(behaviour.schliessen));
    EXPECT_EQ(readInit(QStringLiteral("InDenHintergrund")), QString::fromLatin1(behaviour.hintergrund));
}

INSTANTIATE_TEST_SUITE_P(
    Behaviours, PrintBehaviourRoadTest,
    ::testing::Values(WindowBehaviour{"stays", "Rechnung", "L", "Rechnung", "nein", "nein",
                                      [] { return frmPrintMan->isVisible() && !frmPrintMan->isMinimized(); }},
                      WindowBehaviour{"background", "Rechnung", "L", "Rechnung", "nein", "ja", inTheBackground},
                      WindowBehaviour{"labelsInTheBackground", "EtikettArt", "E", "Artikeletikett", "nein", "ja",
                                      inTheBackground},
                      WindowBehaviour{"closes", "Rechnung", "L", "Rechnung", "ja", "nein", nullptr}),
    [](const ::testing::TestParamInfo<WindowBehaviour> &behaviour) { return std::string(behaviour.param.name); });

// "E-Mail senden" with and without the preview: the main window steps aside
// for the preview and comes back; the program runs on until it is closed and
// keeps the preview switch for the next start.
TEST_F(ProgramRoadTest, SendingAnEmailWithAndWithoutThePreviewKeepsTheProgramRunning)
{
    for (const bool preview : {true, false}) {
        SCOPED_TRACE(preview ? "with preview" : "without preview");
        const qsizetype sentBefore = server.messages().size();
        const int exitCode = runProgramWith([&](RoadScript &script) {
            waitForTheInvoiceRequest(script);
            script.act(QStringLiteral("Alt+M to the e-mail tab"),
                       [] { pressKey(frmPrintMan, Qt::Key_M, Qt::AltModifier); });
            script.waitFor(QStringLiteral("the e-mail button"),
                           [] { return frmPrintMan->btnTintlen->text() == QStringLiteral("E-Mail &senden"); });
            script.act(QStringLiteral("the preview switch set"), [preview] {
                if (frmPrintMan->cbxVorschau->isChecked() != preview)
                    pressKey(frmPrintMan, Qt::Key_K, Qt::AltModifier);
            });
            script.act(QStringLiteral("Alt+S"), [] { pressKey(frmPrintMan, Qt::Key_S, Qt::AltModifier); });
            if (preview) {
                script.waitFor(QStringLiteral("the preview in place of the main window"),
                               [] { return shownWindow("TfrmPreview") && !frmPrintMan->isVisible(); });
                script.act(QStringLiteral("Senden in the preview"), [] {
                    QTest::mouseClick(shownWindow("TfrmPreview")->findChild<QPushButton *>(QStringLiteral("btnClose")),
                                      Qt::LeftButton);
                });
            }
            script.waitFor(
                QStringLiteral("the box counting the sent mail"),
                [] { return shownBoxText().startsWith(QStringLiteral("1 Mails wurden")); }, confirmBox);
            script.waitFor(QStringLiteral("the main window back"),
                           [] { return frmPrintMan->isVisible() && !shownWindow("TfrmPreview"); });
            clickAbbruch(script);
        });
        EXPECT_EQ(stoppedAt, QString());
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(server.messages().size(), sentBefore + 1);
        EXPECT_EQ(readInit(QStringLiteral("eMailVorschau")), preview ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

// A second start finds the window behaviour the first one left, and ends
// only when its window is closed.
TEST_F(ProgramRoadTest, ASecondStartShowsWhatTheFirstLeft)
{
    const auto tickBackgroundAndClose = [](RoadScript &script) {
        waitForTheInvoiceRequest(script);
        script.act(QStringLiteral("a click ticks \"in den Hintergrund\""),
                   [] { QTest::mouseClick(frmPrintMan->btnFensterHintergrund, Qt::LeftButton); });
        clickAbbruch(script);
    };
    ASSERT_EQ(runProgramWith(tickBackgroundAndClose), 0);
    ASSERT_EQ(stoppedAt, QString());
    ASSERT_EQ(readInit(QStringLiteral("InDenHintergrund")), QStringLiteral("ja"));

    bool ticked = false;
    EXPECT_EQ(runProgramWith([&](RoadScript &script) {
                  waitForTheInvoiceRequest(script);
                  script.act(QStringLiteral("look"), [&] { ticked = frmPrintMan->btnFensterHintergrund->isChecked(); });
                  clickAbbruch(script);
              }),
              0);
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_TRUE(ticked);
}

// The preview and the layout designer are windows of their own over the main
// window; closing them leaves the program waiting for the next request.
TEST_F(ProgramRoadTest, ThePreviewAndTheDesignerComeAndGoWhileTheProgramRuns)
{
    const int exitCode = runProgramWith([](RoadScript &script) {
        waitForTheInvoiceRequest(script);
        script.act(QStringLiteral("Alt+B for the screen"), [] { pressKey(frmPrintMan, Qt::Key_B, Qt::AltModifier); });
        script.act(QStringLiteral("Alt+T"), [] { pressKey(frmPrintMan, Qt::Key_T, Qt::AltModifier); });
        script.waitFor(
            QStringLiteral("the preview"), [] { return shownWindow("report::PreviewWindow"); },
            [] { pressKey(shownWindow("report::PreviewWindow"), Qt::Key_Escape); });
        script.waitFor(QStringLiteral("the main window after the preview"),
                       [] { return frmPrintMan->isVisible() && !QApplication::activeModalWidget(); });
        askForTheLayout(script);
        script.waitFor(
            QStringLiteral("the layout designer"), [] { return shownWindow("report::LayoutDesigner"); },
            [] { pressKey(shownWindow("report::LayoutDesigner"), Qt::Key_Escape); });
        leaveFormMaintenanceAndQuit(script);
    });
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(pdfs(), QString());
}

// With the mail program as the client, "E-Mail senden" puts the invoice into
// its outbox table instead of sending it; the program runs on.
TEST_F(ProgramRoadTest, TheOutboxRoadEntersTheMailAndTheProgramRunsOn)
{
    writeInit(QStringLiteral("Standardclient"), QStringLiteral("0"));
    QString mailbox;
    int before = -1;
    const auto outboxRecords = [&mailbox] {
        TTable outbox;
        outbox.SetDatabaseName(mailbox);
        outbox.SetTableName(QStringLiteral("MailAusgang.db"));
        outbox.Open();
        return outbox.RecordCount();
    };
    const int exitCode = runProgramWith([&](RoadScript &script) {
        waitForTheInvoiceRequest(script);
        script.act(QStringLiteral("Alt+M to the e-mail tab"),
                   [] { pressKey(frmPrintMan, Qt::Key_M, Qt::AltModifier); });
        script.act(QStringLiteral("Alt+S"), [&] {
            mailbox = EmailState().Kuvertalia.MailboxData;
            before = outboxRecords();
            pressKey(frmPrintMan, Qt::Key_S, Qt::AltModifier);
        });
        script.waitFor(
            QStringLiteral("the box telling what happened"), [] { return !shownBoxText().isEmpty(); }, confirmBox);
        script.waitFor(QStringLiteral("the main window alone"),
                       [] { return frmPrintMan->isVisible() && !QApplication::activeModalWidget(); });
        clickAbbruch(script);
    });
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(server.messages().isEmpty());
    EXPECT_EQ(outboxRecords(), before + 1);
}

namespace {

// The help viewers this process has started and that still run.
int runningHelpViewers()
{
    int viewers = 0;
    const QString parent = QString::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString line = QString::fromLocal8Bit(stat.readAll());
        // "pid (name) state ppid ...": the name may hold blanks, the part after it not.
        const QStringList after = line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
        viewers += line.contains(QStringLiteral("(tintlen-hilfe)")) && after.value(0) != QLatin1String("Z")
                   && after.value(1) == parent;
    }
    return viewers;
}

}

// F1 shows the main window's help topic in the help viewer, without a box;
// closing the program closes the viewer too.
TEST_F(ProgramRoadTest, F1ShowsTheHelpAndTheViewerEndsWithTheProgram)
{
    const int exitCode = runProgramWith([](RoadScript &script) {
        waitForTheInvoiceRequest(script);
        script.act(QStringLiteral("F1"), [] { pressKey(frmPrintMan, Qt::Key_F1); });
        script.waitFor(QStringLiteral("the help viewer running, no box"),
                       [] { return runningHelpViewers() == 1 && shownBoxText().isEmpty(); });
        clickAbbruch(script);
    });
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return runningHelpViewers() == 0; }, 10000));
}
