#include "platform/help/HelpWindow.h"
#include "platform/help/HtmlHelpControl.h"
#include "support/RecordingUiServices.h"

#include <gtest/gtest.h>

using namespace help;

namespace {

// Help files with a few bytes damaged: the first makes the help library
// fault, the second makes it enumerate its directory for ever.
const QString kDataFolder = QStringLiteral(TINTLEN_HELP_TEST_DATA);

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

} // namespace
