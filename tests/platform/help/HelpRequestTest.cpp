#include "HelpRoutingFixture.h"
#include "TestFiles.h"

#include "platform/help/ApplicationHelp.h"
#include "platform/help/HH.h"
#include "platform/help/HH_Funcs.h"
#include "platform/help/HelpBrowser.h"
#include "platform/help/HelpWindow.h"
#include "platform/help/HtmlHelpControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

using ui::MsgButtons;
using ui::MsgIcon;

namespace {

using HelpRequestTest = HelpRoutingFixture;

const QString kNotInstalled = "MS Html Hilfe ist nicht auf diesem Computer installiert.";

QString shownTopic()
{
    const auto windows = help::HelpWindows();
    return windows.size() == 1 ? windows.first()->currentTopic() : QString();
}

} // namespace

TEST_F(HelpRequestTest, ContextNumbersOfTheWindowsShowTheirTopics)
{
    start();
    help::SetApplicationHelpFile(m_helpFile);
    ShowHelpContext(2001);
    EXPECT_EQ(shownTopic(), "/sub/formular.htm");
    ShowHelpContext(2002);
    EXPECT_EQ(shownTopic(), "/start.htm");
    EXPECT_EQ(help::HelpWindows().first()->notice(), "Zur Kontextnummer 2002 enthält die Hilfedatei kein Thema; "
                                                     "angezeigt wird die Startseite.");
    EXPECT_TRUE(m_ui.messages().isEmpty());
}

TEST_F(HelpRequestTest, MissingControlIsReportedAndShutDownGoesOn)
{
    HH_Funcs_Initialize({"/debug"});
    help::SetApplicationHelpFile(m_helpFile);
    ShowHelpContext(2000);
    ASSERT_EQ(m_ui.messages().size(), 1);
    EXPECT_EQ(m_ui.messages()[0].text, kNotInstalled);
    EXPECT_EQ(m_ui.messages()[0].icon, MsgIcon::Warning);
    EXPECT_EQ(m_ui.messages()[0].caption, QCoreApplication::applicationName());
    EXPECT_EQ(traceLines().last(), "14:05:09   HHShowError(1), \"" + kNotInstalled + "\"");
    EXPECT_TRUE(help::HelpWindows().isEmpty());
    OnlHelp_Finalize();
    HH_Funcs_Finalize();
}

// The help itself is installed: the message names the file and what is
// wrong with it, and the request counts as done.
TEST_F(HelpRequestTest, AFileTheControlCannotReadIsNamedWithItsCause)
{
    start({"/debug"});
    const QString broken = folder("programm/kaputt.chm");
    ASSERT_TRUE(writeTestFile(broken, "keine Hilfedatei"));
    help::SetApplicationHelpFile(broken);
    ShowHelpContext(2000);
    EXPECT_EQ(m_ui.messageTexts(), QStringList{"Die Hilfedatei " + broken
                                               + " kann nicht angezeigt werden.\r\n"
                                                 "Die Datei ist keine lesbare Hilfedatei."});
    EXPECT_EQ(traceLines().last(), "14:05:09     returned - 0");
    EXPECT_TRUE(help::HelpWindows().isEmpty());
}

// Declining, then picking a missing file, then a good one that serves the
// rest of the run.
TEST_F(HelpRequestTest, WithoutHelpFileTheUserIsAskedToPickOne)
{
    start();
    help::SetApplicationHelpFile(folder("programm/fehlt.chm"));
    const QString missing = folder("programm/weg.chm");
    QString picked;
    int dialogs = 0;
    SetHelpFileDialogRunner([&](QFileDialog &dialog) {
        ++dialogs;
        EXPECT_EQ(dialog.windowTitle(), "Html-Hilfe öffnen");
        EXPECT_EQ(dialog.nameFilters(),
                  QStringList{"Kuvertalia Html-Hilfe (" + QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                              + ".chm)"});
        EXPECT_EQ(dialog.directory().absolutePath(), folder("programm"));
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        return picked;
    });
    m_ui.queueAnswer(ui::IDNO);
    ShowHelpContext(2000);
    ASSERT_EQ(m_ui.messages().size(), 1);
    const auto &question = m_ui.messages()[0];
    EXPECT_EQ(question.text, "Es wurde keine Hilfedatei zugewiesen.\r\nMöchten Sie selbst danach suchen?");
    EXPECT_EQ(question.caption, "Velmora Kuvertalia");
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(OnlHelpObject(), nullptr);

    picked = missing;
    m_ui.queueAnswer(ui::IDYES);
    ShowHelpContext(2000);
    ASSERT_EQ(m_ui.messages().size(), 3);
    EXPECT_EQ(m_ui.messages()[2].text, "Die Hilfedatei \"" + missing + "\" konnte nicht gefunden werden.");
    EXPECT_EQ(m_ui.messages()[2].icon, MsgIcon::Stop);
    EXPECT_EQ(m_ui.messages()[2].caption, "Velmora Kuvertalia");
    EXPECT_EQ(OnlHelpObject(), nullptr);
    EXPECT_TRUE(help::HelpWindows().isEmpty());

    picked = m_helpFile;
    m_ui.queueAnswer(ui::IDYES);
    ShowHelpContext(2001);
    EXPECT_EQ(shownTopic(), "/sub/formular.htm");
    ASSERT_NE(OnlHelpObject(), nullptr);
    EXPECT_EQ(help::ApplicationHelpFile(), folder("programm/fehlt.chm")) << "the picked file serves the run only";
    ShowHelpContext(2000);
    EXPECT_EQ(shownTopic(), "/start.htm");
    EXPECT_EQ(m_ui.messages().size(), 4) << "only the first request after picking asks";
}

TEST_F(HelpRequestTest, BlanksInTheFileNameArriveAsBlanks)
{
    start({"/debug"});
    const QString spaced = folder("mit Leer");
    QDir().mkpath(spaced);
    ASSERT_TRUE(QFile::copy(m_helpFile, spaced + "/hilfe.chm"));
    const QString written = " " + folder("mit%20Leer/hilfe.chm") + " ";
    EXPECT_EQ(HHHelpContext(written, 2001, "", HH_MODE_CONTROL), HH_DONE);
    EXPECT_EQ(shownTopic(), "/sub/formular.htm");
    EXPECT_TRUE(traceLines().contains("14:05:09   ShowContext(\"" + spaced + "/hilfe.chm\", 0)"));
}

TEST_F(HelpRequestTest, HookTakesTheApplicationsHelpWhileItLives)
{
    start({"/debug"});
    int earlierEventCalls = 0;
    help::SetApplicationHelpEvent([&](int, qintptr, bool &) {
        ++earlierEventCalls;
        return false;
    });
    auto hook = std::make_unique<THookHelpSystem>(m_helpFile, "", HH_MODE_CONTROL);
    EXPECT_TRUE(help::ApplicationHelpContext(2001));
    EXPECT_EQ(shownTopic(), "/sub/formular.htm");

    const qintptr position = (qintptr(300) << 16) | (qintptr(-5) & 0xFFFF);
    EXPECT_TRUE(help::ApplicationHelpCommand(help::HELP_SETPOPUP_POS, position));
    EXPECT_EQ(hook->PopupPos(), QPoint(-5, 300));
    QPoint popupAt;
    hook->OnPopup = [&](int, QPoint at) { popupAt = at; };
    help::ApplicationHelpCommand(help::HELP_CONTEXTPOPUP, 2000);
    EXPECT_EQ(popupAt, QPoint(-5, 300));

    bool callHelp = false;
    EXPECT_TRUE(hook->HelpHook(help::HELP_KEY, 0, callHelp));
    EXPECT_TRUE(callHelp) << "other commands go on to the application's help";
    EXPECT_EQ(earlierEventCalls, 0);
    EXPECT_TRUE(traceLines().contains("14:05:09   THookHelpSystem.HelpHook(13 (HELP_SETPOPUP_POS), "
                                      + QString::number(position) + ")"));
    hook->HelpHook(99, 7, callHelp);
    EXPECT_TRUE(traceLines().contains("14:05:09   THookHelpSystem.HelpHook(99 (?\?), 7)"));

    hook.reset();
    EXPECT_TRUE(help::HelpWindows().isEmpty());
    help::ApplicationHelpContext(2000);
    EXPECT_EQ(earlierEventCalls, 1) << "the earlier help event is back";
}
