#include "platform/ui/Application.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/ScreenPlacement.h"
#include "support/RecordingUiServices.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ui;

namespace {

class ApplicationTest : public ::testing::Test
{
protected:
    // A button whose click handler throws what `raise` throws.
    template <class Raise>
    std::unique_ptr<QPushButton> throwingButton(Raise raise)
    {
        auto button = std::make_unique<QPushButton>(QStringLiteral("Drucken"));
        QObject::connect(button.get(), &QPushButton::clicked, raise);
        button->show();
        return button;
    }

    ScopedRecordingUiServices recording;
};

}

TEST(ExceptionDisplayTextTest, AFullStopIsAppendedOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(exceptionDisplayText(QStringLiteral("Tabelle ist gesperrt")), QStringLiteral("Tabelle ist gesperrt."));
    EXPECT_EQ(exceptionDisplayText(QStringLiteral("Schon erledigt.")), QStringLiteral("Schon erledigt."));
    EXPECT_EQ(exceptionDisplayText(QStringLiteral("Fehler!")), QStringLiteral("Fehler!"));
    EXPECT_EQ(exceptionDisplayText(QStringLiteral("Wirklich?")), QStringLiteral("Wirklich?."));
    EXPECT_EQ(exceptionDisplayText(QStringLiteral("Wert: 42")), QStringLiteral("Wert: 42."));
    EXPECT_EQ(exceptionDisplayText(QStringLiteral("Pfad ,")), QStringLiteral("Pfad ,"));
    EXPECT_EQ(exceptionDisplayText(QStringLiteral("Größe")), QStringLiteral("Größe."));
    EXPECT_EQ(exceptionDisplayText(QString()), QString());
}

TEST_F(ApplicationTest, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn)
{
    auto button = throwingButton([] { throw EDatabaseError(QStringLiteral("Tabelle Formular.db fehlt")); });

    QTest::mouseClick(button.get(), Qt::LeftButton);
    QTest::mouseClick(button.get(), Qt::LeftButton);

    ASSERT_EQ(recording.messages().size(), 2);
    const auto &shown = recording.messages().at(0);
    EXPECT_EQ(shown.text, QStringLiteral("Tabelle Formular.db fehlt."));
    EXPECT_EQ(shown.caption, QStringLiteral("Tintlen"));
    EXPECT_EQ(shown.icon, MsgIcon::Stop);
    EXPECT_EQ(shown.buttons, MsgButtons::Ok);
}

TEST_F(ApplicationTest, StandardExceptionsAreShownTooButTheSilentOneIsNot)
{
    auto failing = throwingButton([] { throw std::runtime_error("Speicher voll"); });
    auto aborting = throwingButton([] { throw EAbort(QStringLiteral("Abbruch")); });

    QTest::mouseClick(aborting.get(), Qt::LeftButton);
    QTest::mouseClick(failing.get(), Qt::LeftButton);

    EXPECT_EQ(recording.messageTexts(), QStringList(QStringLiteral("Speicher voll.")));
}

TEST_F(ApplicationTest, ActivationIsAnnouncedThroughOneEntry)
{
    Application *app = Application::instance();
    ASSERT_NE(app, nullptr);
    QSignalSpy spy(app, &Application::activated);
    app->activate();
    app->activate();
    EXPECT_EQ(spy.count(), 2);
}

// A laptop's screen below a panel 30 pixels high.
TEST(ScreenPlacementTest, AWindowIsBroughtInsideTheAvailableAreaAndLeftWhereItFits)
{
    const QRect available(0, 30, 1366, 738);
    const struct
    {
        const char *name;
        QRect frame;
        QRect placed;
    } cases[] = {
        {"fits", {100, 50, 600, 400}, {100, 50, 600, 400}},
        {"fillsItExactly", {0, 30, 1366, 738}, {0, 30, 1366, 738}},
        {"overTheRightEdge", {1000, 50, 700, 400}, {666, 50, 700, 400}},
        {"belowTheLowerEdge", {100, 600, 600, 400}, {100, 368, 600, 400}},
        {"underThePanel", {100, 0, 600, 400}, {100, 30, 600, 400}},
        {"leftOfTheScreen", {-250, 100, 600, 400}, {0, 100, 600, 400}},
        {"tallerThanTheScreen", {200, 100, 900, 1020}, {200, 30, 900, 738}},
        {"largerEverywhere", {-10, -10, 2000, 1200}, {0, 30, 1366, 738}},
        {"onAnotherScreenFarAway", {3000, 2000, 600, 400}, {766, 368, 600, 400}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fitInside(c.frame, available), c.placed) << c.name;
    EXPECT_EQ(fitInside(QRect(5, 5, 50, 50), QRect()), QRect(5, 5, 50, 50)) << "no screen";
}

// The stored place is the frame's, the stored size the window's own area.
TEST(ScreenPlacementTest, AStoredPlaceThatFitsIsKeptAndOneThatDoesNotIsBroughtInside)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    placeInsideScreen(&window, screen.topLeft() + QPoint(40, 30), {300, 200});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.frameGeometry().topLeft(), screen.topLeft() + QPoint(40, 30));
    EXPECT_EQ(window.size(), QSize(300, 200));
    placeInsideScreen(&window, screen.bottomRight(), {300, 200});
    EXPECT_EQ(window.frameGeometry().bottomRight(), screen.bottomRight());
    EXPECT_EQ(window.size(), QSize(300, 200));
    sizeInsideScreen(&window, screen.size() + QSize(100, 100));
    EXPECT_EQ(window.frameGeometry(), screen);
}

TEST_F(ApplicationTest, FormsAreKeptInCreationOrderAndTheFirstIsTheMainForm)
{
    Application *app = Application::instance();
    const qsizetype before = app->forms().size();
    QWidget *first = app->createForm<QWidget>();
    QWidget *second = app->createForm<QPushButton>();

    const QList<QWidget *> forms = app->forms();
    ASSERT_EQ(forms.size(), before + 2);
    EXPECT_EQ(forms.at(before), first);
    EXPECT_EQ(forms.at(before + 1), second);
    EXPECT_EQ(app->mainForm(), forms.front());
}

// Real boxes: the window system would title a caption-less box with the
// executable's lower-case file name.
TEST(ApplicationBoxes, EveryRealMessageBoxIsTitledWithTheApplicationTitle)
{
    installServices(nullptr);
    QStringList titles;
    for (const QString &caption : {QString(), QStringLiteral("Tintlen")}) {
        QTimer::singleShot(0, [&titles] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            titles.append(box->windowTitle());
            box->done(QMessageBox::Ok);
        });
        services().messageBox(QStringLiteral("Datei fehlt"), caption, MsgIcon::Stop, MsgButtons::Ok);
    }
    EXPECT_EQ(titles, QStringList({QStringLiteral("Tintlen"), QStringLiteral("Tintlen")}));
}

TEST(ApplicationBoxes, QtsOwnFileDialogSpeaksGerman)
{
    QFileDialog dialog(nullptr, QStringLiteral("Formular wählen"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    const auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    ASSERT_NE(lookIn, nullptr);
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(lookIn->text(), QStringLiteral("Suchen in:"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}
