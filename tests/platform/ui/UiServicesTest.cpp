#include "platform/ui/UiServices.h"
#include "platform/runtime/DateTime.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ui;

namespace {

class UiServicesTest : public ::testing::Test
{
protected:
    ScopedRecordingUiServices recording;
};

}

TEST_F(UiServicesTest, MessageBoxesAreRecordedWithEverythingTheUserWouldSee)
{
    services().messageBox(QStringLiteral("Datei fehlt"), QStringLiteral("Tintlen"), MsgIcon::Stop, MsgButtons::Ok);
    services().messageBox(QStringLiteral("Löschen?"), QString(), MsgIcon::Question, MsgButtons::YesNoCancel, IDNO);

    ASSERT_EQ(recording.messages().size(), 2);
    const auto &first = recording.messages().at(0);
    EXPECT_EQ(first.text, QStringLiteral("Datei fehlt"));
    EXPECT_EQ(first.caption, QStringLiteral("Tintlen"));
    EXPECT_EQ(first.icon, MsgIcon::Stop);
    EXPECT_EQ(first.buttons, MsgButtons::Ok);
    const auto &second = recording.messages().at(1);
    EXPECT_TRUE(second.caption.isEmpty());
    EXPECT_EQ(second.defaultButton, IDNO);
    EXPECT_EQ(recording.messageTexts(), QStringList({QStringLiteral("Datei fehlt"), QStringLiteral("Löschen?")}));
    // Installed services answer instead of the user until they are taken away.
    EXPECT_EQ(&services(), &recording);
    installServices(nullptr);
    EXPECT_NE(&services(), &recording);
}

TEST_F(UiServicesTest, BoxesAnswerWithTheScriptOrTheirDefaultButton)
{
    EXPECT_EQ(services().messageBox("a", "", MsgIcon::None, MsgButtons::Ok), IDOK);
    EXPECT_EQ(services().messageBox("a", "", MsgIcon::None, MsgButtons::OkCancel), IDOK);
    EXPECT_EQ(services().messageBox("a", "", MsgIcon::None, MsgButtons::YesNoCancel), IDYES);
    EXPECT_EQ(services().messageBox("a", "", MsgIcon::None, MsgButtons::YesNo, IDNO), IDNO);
    EXPECT_EQ(services().messageBox("a", "", MsgIcon::None, MsgButtons::AbortRetryIgnore), IDABORT);
    EXPECT_EQ(services().messageBox("a", "", MsgIcon::None, MsgButtons::RetryCancel), IDRETRY);
    // Scripted answers are used in order, then the defaults resume.
    recording.queueAnswer(IDNO);
    recording.queueAnswer(IDCANCEL);
    EXPECT_EQ(services().messageBox("1", "", MsgIcon::Question, MsgButtons::YesNoCancel), IDNO);
    EXPECT_EQ(services().messageBox("2", "", MsgIcon::Question, MsgButtons::YesNoCancel), IDCANCEL);
    EXPECT_EQ(services().messageBox("3", "", MsgIcon::Question, MsgButtons::YesNoCancel), IDYES);
}

TEST_F(UiServicesTest, PromptsAcceptCancelOrKeepTheValue)
{
    recording.queueInput(QStringLiteral("Neuer Name"));
    recording.queueInput(std::nullopt);

    QString value = QStringLiteral("Alt");
    EXPECT_TRUE(services().inputQuery(QStringLiteral("Kopieren"), QStringLiteral("Name:"), value));
    EXPECT_EQ(value, QStringLiteral("Neuer Name"));
    EXPECT_FALSE(services().inputQuery(QStringLiteral("Kopieren"), QStringLiteral("Name:"), value));
    EXPECT_EQ(value, QStringLiteral("Neuer Name"));
    EXPECT_TRUE(services().inputQuery(QStringLiteral("Kopieren"), QStringLiteral("Name:"), value));
    EXPECT_EQ(value, QStringLiteral("Neuer Name"));

    ASSERT_EQ(recording.inputQueries().size(), 3);
    EXPECT_EQ(recording.inputQueries().at(0).value, QStringLiteral("Alt"));
    EXPECT_EQ(recording.inputQueries().at(0).prompt, QStringLiteral("Name:"));
}

TEST_F(UiServicesTest, BusyCursorIsUndoneOnEveryWayOut)
{
    try {
        BusyCursor outer;
        BusyCursor inner;
        EXPECT_EQ(recording.busyDepth(), 2);
        throw std::runtime_error("abgebrochen");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(recording.busyDepth(), 0);
    EXPECT_EQ(recording.maxBusyDepth(), 2);
}

TEST_F(UiServicesTest, ClockBeepAndUrlsAreRecorded)
{
    const QDateTime fixed(QDate(2026, 12, 24), QTime(18, 0));
    recording.setNow(fixed);
    EXPECT_EQ(services().now(), fixed);
    services().beep();
    services().beep();
    EXPECT_EQ(recording.beeps(), 2);
    EXPECT_TRUE(services().openUrl(QStringLiteral("mailto:info@example.de")));
    EXPECT_EQ(recording.openedUrls(), QStringList(QStringLiteral("mailto:info@example.de")));
}

TEST_F(UiServicesTest, TheRuntimeClockFollowsTheInstalledServices)
{
    recording.setNow(QDateTime(QDate(2026, 2, 28), QTime(23, 59, 30)));
    EXPECT_EQ(ToQDate(Date()), QDate(2026, 2, 28));
    EXPECT_EQ(ToQDateTime(Now()), QDateTime(QDate(2026, 2, 28), QTime(23, 59, 30)));
    recording.setNow(QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
    EXPECT_EQ(ToQDate(Date()), QDate(2026, 3, 1));
}

namespace {

// Shows the real box, notes its width and leaves it by Escape.
int escapedBox(const QString &caption, const QString &text, MsgButtons buttons, int *width = nullptr)
{
    QTimer::singleShot(0, [width] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            if (width)
                *width = box->width();
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    installServices(nullptr);
    return services().messageBox(text, caption, MsgIcon::Question, buttons);
}

int shownWidth(const QString &caption, const QString &text)
{
    int width = 0;
    escapedBox(caption, text, MsgButtons::Ok, &width);
    return width;
}

}

// The window system cuts a title longer than its window; a long text alone
// decides the width.
TEST(RealMessageBoxTest, TheTitleShowsWholeAboveAShortText)
{
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int buttonRoom = 4 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    for (const char *caption : {"Fehler DefineFields", "Ungültige Eingabe in einem langen Titel"})
        EXPECT_GE(shownWidth(caption, "atr.qlocate(7) erfolglos"),
                  QFontMetrics(titleFont).horizontalAdvance(caption) + buttonRoom)
            << caption;
    const QString longText(90, QLatin1Char('x'));
    EXPECT_EQ(shownWidth("GetRecords", longText), shownWidth("x", longText));
}

// "Abbrechen" before "Nein": leaving "save changes?" never discards them.
TEST(RealMessageBoxTest, EscapeAnswersLikeTheCancellingButton)
{
    for (const auto &[buttons, expected] :
         {std::pair{MsgButtons::YesNoCancel, IDCANCEL}, {MsgButtons::YesNo, IDNO}, {MsgButtons::Ok, IDOK}})
        EXPECT_EQ(escapedBox("Editor", "Änderungen speichern?", buttons), expected);
}
