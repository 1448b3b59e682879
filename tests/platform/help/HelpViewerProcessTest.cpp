#include "ChmFixture.h"

#include "platform/help/HelpWindow.h"
#include "platform/help/HtmlHelpControl.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>
#include <unistd.h>

using namespace help;

namespace {

// Help files with a few bytes damaged: the first makes the help library
// fault, the second makes it enumerate its directory for ever.
const QString kDataFolder = QStringLiteral(TINTLEN_HELP_TEST_DATA);

// The viewer process this test program started, found as a user would
// find it: by its name among the children of the program; 0 when none runs.
pid_t viewerProcess()
{
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const qsizetype nameEnd = line.lastIndexOf(')');
        const QByteArray name = line.mid(line.indexOf('(') + 1, nameEnd - line.indexOf('(') - 1);
        const QList<QByteArray> rest = line.mid(nameEnd + 2).split(' ');
        if (name == "tintlen-hilfe" && rest.size() > 1 && rest.at(0) != "Z" && rest.at(1).toInt() == getpid())
            return pid_t(entry.toInt());
    }
    return 0;
}

// Waits, with the events going on, until no help window is open.
bool allHelpWindowsEnded()
{
    const QDeadlineTimer deadline(10000);
    while (!HelpWindows().isEmpty() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return HelpWindows().isEmpty();
}

class HelpViewerProcessTest : public testing::Test
{
protected:
    void TearDown() override
    {
        HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
        setHelpViewerTimeLimit(m_savedLimit);
    }

    QString shown(const QString &file, qintptr context)
    {
        const QWidget *window = HtmlHelp(nullptr, kDataFolder + file, HH_HELP_CONTEXT, context);
        EXPECT_EQ(window, nullptr) << file.toStdString();
        return m_ui.messages().isEmpty() ? QString() : m_ui.messages().last().text;
    }

    ui::ScopedRecordingUiServices m_ui;
    int m_savedLimit = helpViewerTimeLimit();
};

TEST_F(HelpViewerProcessTest, AViewerThatFaultsEndsAloneAndIsReported)
{
    EXPECT_EQ(shown(QStringLiteral("/absturz.chm"), 1),
              QStringLiteral("Die Hilfedatei %1/absturz.chm kann nicht angezeigt werden.\r\nDas Hilfeprogramm wurde "
                             "unerwartet beendet; die Hilfedatei ist vermutlich beschädigt.")
                  .arg(kDataFolder));
    EXPECT_EQ(m_ui.messages().last().icon, ui::MsgIcon::Warning);
    EXPECT_TRUE(HelpWindows().isEmpty());
}

TEST_F(HelpViewerProcessTest, AViewerThatHangsIsEndedAfterTheTimeLimitAndReported)
{
    setHelpViewerTimeLimit(3000);
    EXPECT_EQ(shown(QStringLiteral("/haengt.chm"), 1),
              QStringLiteral("Die Hilfedatei %1/haengt.chm kann nicht angezeigt werden.\r\nDas Hilfeprogramm hat "
                             "nach 3 Sekunden ohne Anzeige aufgegeben.")
                  .arg(kDataFolder));
    EXPECT_TRUE(HelpWindows().isEmpty());
}

// Only a viewer that faulted by itself points at the help file; one that
// someone ended is not blamed on the file.
TEST_F(HelpViewerProcessTest, AViewerEndedFromOutsideIsNotBlamedOnTheFile)
{
    ChmFixture fixture;
    const QString file = ChmFixture::buildStandard(fixture);
    ASSERT_FALSE(file.isEmpty());
    const QString damaged = QStringLiteral("Die Hilfedatei %1 kann nicht angezeigt werden.\r\nDas Hilfefenster wurde "
                                           "unerwartet beendet; die Hilfedatei ist vermutlich beschädigt.")
                                .arg(file);
    const struct
    {
        int signal;
        QStringList messages;
    } cases[] = {{SIGTERM, {}}, {SIGKILL, {}}, {SIGABRT, {damaged}}};
    for (const auto &c : cases) {
        m_ui.clear();
        ASSERT_NE(HtmlHelp(nullptr, file, HH_HELP_CONTEXT, 2000), nullptr);
        const pid_t viewer = viewerProcess();
        ASSERT_NE(viewer, 0);
        ::kill(viewer, c.signal);
        EXPECT_TRUE(allHelpWindowsEnded()) << c.signal;
        EXPECT_EQ(m_ui.messageTexts(), c.messages) << c.signal;
    }
    // The next request starts the window again.
    EXPECT_NE(HtmlHelp(nullptr, file, HH_HELP_CONTEXT, 2000), nullptr);
}

TEST_F(HelpViewerProcessTest, AViewerEndedBeforeItShowedTheTopicSaysSo)
{
    std::thread killer([] {
        const QDeadlineTimer deadline(5000);
        pid_t viewer = 0;
        while (!(viewer = viewerProcess()) && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (viewer)
            ::kill(viewer, SIGTERM);
    });
    const QString text = shown(QStringLiteral("/haengt.chm"), 1);
    killer.join();
    EXPECT_EQ(text, QStringLiteral("Die Hilfedatei %1/haengt.chm kann nicht angezeigt werden.\r\nDas Hilfeprogramm "
                                   "wurde von außen beendet, bevor es die Seite zeigen konnte.")
                        .arg(kDataFolder));
    EXPECT_TRUE(HelpWindows().isEmpty());
}

} // namespace
