#include "HelpRoutingFixture.h"
#include "TestFiles.h"

#include "platform/help/ApplicationHelp.h"
#include "platform/help/HHTrace.h"
#include "platform/help/HH_Funcs.h"
#include "platform/help/HelpBrowser.h"
#include "platform/help/HelpWindow.h"
#include "platform/help/HtmlHelpControl.h"
#include "platform/help/LocaleIdentifier.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kTime = "14:05:09   ";

using HelpTraceTest = HelpRoutingFixture;

} // namespace

TEST_F(HelpTraceTest, OneHelpPressWritesItsLines)
{
    start({"/debug"});
    help::SetApplicationHelpFile(m_helpFile);
    const int headerLines = traceLines().size();

    ShowHelpContext(2000);
    ShowHelpContext(2000);
    const QStringList lines = traceLines().mid(headerLines);
    const QString file = QFileInfo(m_helpFile).canonicalFilePath();
    const QStringList onePress{kTime + "HHHelpContext(\"" + file + "\", 2000, \"\", 0)",
                               kTime + "ShowContext(\"" + file + "\", 0)", kTime + "  returned - 0"};
    EXPECT_EQ(lines, QStringList{kTime + "THookHelpSystem.Create(\"" + file + "\",\"\", 0)"} + onePress + onePress);

    ASSERT_EQ(help::HelpWindows().size(), 1);
    EXPECT_EQ(help::HelpWindows().first()->currentTopic(), "/start.htm");
    EXPECT_TRUE(m_ui.messages().isEmpty());

    stop();
    EXPECT_EQ(traceLines().last(), kTime + "THookHelpSystem.Destroy");
    EXPECT_TRUE(help::HelpWindows().isEmpty());
}

TEST_F(HelpTraceTest, HeaderDescribesTheRunWithoutTimes)
{
    start({"erstes", "-DeBuG"});
    const QStringList lines = traceLines();
    ASSERT_EQ(lines.size(), 20);
    const auto locale = help::localeIdentifier(QLocale::system());
    EXPECT_EQ(lines[0], "Filename:              " + traceFile());
    EXPECT_EQ(lines[1], "Date:                  06.12.2026 14:05:09");
    EXPECT_EQ(lines[2],
              "SysLocale.DefaultLCID: 0x" + QString::number(locale.lcid, 16).toUpper().rightJustified(4, '0'));
    EXPECT_EQ(lines[5], "DecimalSeparator:      ,");
    // The program, help and browser blocks show their key lines.
    EXPECT_EQ(lines[7], "EXE Path          = " + QCoreApplication::applicationFilePath());
    EXPECT_EQ(lines[10], "_ModuleDir        = " + folder("programm"));
    EXPECT_EQ(lines[12], "_hhInstalled      = YES");
    EXPECT_TRUE(QRegularExpression("^_hhVerStr         = \\d+\\.\\d+\\.\\d+\\.\\d+$").match(lines[13]).hasMatch())
        << lines[13].toStdString();
    EXPECT_EQ(lines[18], "_ieFriendlyVerStr = Qt " + QString(qVersion()) + " QTextBrowser");
    EXPECT_EQ(lines[19], QString(79, '='));
}

TEST_F(HelpTraceTest, SwitchedOnByParameterOrMarkerFileOnly)
{
    ASSERT_TRUE(writeTestFile(traceFile(), "alter Lauf\r\n"));
    start({"debug", "/debugger"});
    EXPECT_FALSE(HHFuncsGlobals().debug);
    EXPECT_FALSE(QFile::exists(traceFile())) << "a trace of an earlier run must go";
    help::SetApplicationHelpFile(m_helpFile);
    ShowHelpContext(2000);
    EXPECT_FALSE(QFile::exists(traceFile()));
    stop();

    ASSERT_TRUE(writeTestFile(folder("programm/debug.debug"), ""));
    start();
    EXPECT_TRUE(HHFuncsGlobals().debug);
    EXPECT_EQ(traceLines().size(), 20);
}

// The trace file module itself refuses links; here a lost line must not stop the help.
TEST_F(HelpTraceTest, TraceNeverFollowsALink)
{
    const QString victim = folder("fremd.txt");
    ASSERT_TRUE(writeTestFile(victim, "fremde Daten"));
    start({"/debug"});
    QFile::remove(traceFile());
    ASSERT_TRUE(QFile::link(victim, traceFile()));
    help::SetApplicationHelpFile(m_helpFile);
    ShowHelpContext(2001);
    EXPECT_EQ(help::HelpWindows().size(), 1) << "a lost trace line does not stop the help";
    EXPECT_EQ(testFileContent(victim), "fremde Daten");
}

TEST(HelpTraceLineTest, RulesAndMarkedLinesCarryNoTime)
{
    EXPECT_EQ(HHTraceLine("-", "12:00:00"), QString(79, '-'));
    EXPECT_EQ(HHTraceLine("=", "12:00:00"), QString(79, '='));
    EXPECT_EQ(HHTraceLine("!Kopf", "12:00:00"), "Kopf");
    EXPECT_EQ(HHTraceLine("--", "12:00:00"), "-");
    EXPECT_EQ(HHTraceLine("=x", "12:00:00"), "x");
    EXPECT_EQ(HHTraceLine("", "12:00:00"), "12:00:00   ");
    EXPECT_EQ(HHTraceLine("Text", "12:00:00"), "12:00:00   Text");
}

TEST(HelpLocaleTest, WindowsIdentifiersOfLocales)
{
    const auto germany = help::localeIdentifier(QLocale("de_DE"));
    EXPECT_EQ(std::tuple(germany.lcid, germany.primaryLanguage, germany.subLanguage), std::tuple(0x0407, 0x07, 1));
    EXPECT_EQ(help::localeIdentifier(QLocale("de_AT")).lcid, 0x0C07);
    EXPECT_EQ(help::localeIdentifier(QLocale("en_GB")).lcid, 0x0809);
    EXPECT_EQ(help::localeIdentifier(QLocale("ja_JP")).lcid, 0);
}
