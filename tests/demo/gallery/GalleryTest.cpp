#include "demo/gallery/GalleryWindow.h"
#include "lib/data/Qkintl.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/edit/qkdbedit.h"
#include "lib/filterdlg/TqkFilterDialogView.h"
#include "lib/filterdlg/TqkFilterDlg.h"
#include "lib/grid/qkDBGrid.h"
#include "lib/rich/qkRichEditForm.h"
#include "lib/rich/qkriched.h"
#include "support/RecordingUiServices.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QStringList warnings;

void keepWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg && !message.startsWith(QLatin1String("This plugin does not support")))
        warnings.append(message);
}

class Gallery : public testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<gallery::GalleryWindow>(folder.path());
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override { window.reset(); }

    template <class T>
    T *part(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    static void typeInto(TqkDBEdit *edit, const QString &text)
    {
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    ui::ScopedRecordingUiServices user;
    QTemporaryDir folder;
    std::unique_ptr<gallery::GalleryWindow> window;
};

}

TEST_F(Gallery, SpeaksGermanAndMeasuresInCentimetres)
{
    const TqkIntl &intl = qkIntl();
    EXPECT_EQ(intl.FilterDialog->StartingRangeLabel, QStringLiteral("&Von"));
    EXPECT_EQ(intl.RichEdit->MenuLabels->FileCaption, QStringLiteral("&Datei"));
    EXPECT_EQ(intl.RichEdit->TabDialog->TabDlgCaption, QStringLiteral("Tabulatoren"));
    EXPECT_EQ(intl.UserMessages->RichEditExitWarning,
              QStringLiteral("Es wurden Änderungen vorgenommen! Wollen Sie die Änderungen speichern?"));
    EXPECT_EQ(intl.BtnCancelCaption, QStringLiteral("Abbrechen"));
    EXPECT_EQ(part<TqkDBRichEdit>("bemerkung")->MeasurementUnits(), muCentimeters);
    EXPECT_EQ(part<TqkDBComboBox>("markierung")->Style(), csOwnerDrawVariable);
}

TEST_F(Gallery, PhoneTakesGermanNumbersAndTypingAsksNoMissingMethod)
{
    TqkDBEdit *phone = part<TqkDBEdit>("telefon");
    TqkDBEdit *plz = part<TqkDBEdit>("plz");
    ASSERT_TRUE(phone && plz);
    warnings.clear();
    const QtMessageHandler before = qInstallMessageHandler(keepWarning);
    for (const QString &number : {QStringLiteral("+49 89 4711-0"), QStringLiteral("089 4711-0")}) {
        typeInto(phone, number);
        EXPECT_EQ(phone->text(), number);
        EXPECT_TRUE(phone->CheckPictureText(phone->text())) << number.toStdString();
    }
    typeInto(plz, QStringLiteral("80331"));
    qInstallMessageHandler(before);
    EXPECT_EQ(plz->text(), QStringLiteral("80331"));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Gallery, AnIncompletePostcodeKeepsTheFocusAtEveryTab)
{
    TqkDBEdit *plz = part<TqkDBEdit>("plz");
    ASSERT_NE(plz, nullptr);
    typeInto(plz, QStringLiteral("803"));
    for (int tab = 1; tab <= 2; ++tab) {
        QTest::keyClick(plz, Qt::Key_Tab);
        EXPECT_TRUE(plz->hasFocus()) << tab;
        EXPECT_TRUE(plz->ExitRefused()) << tab;
    }
    EXPECT_EQ(user.beeps(), 2);
}

TEST_F(Gallery, TheHeadTextEditsLineByLineAndEnterStaysInIt)
{
    TqkDBEdit *headText = part<TqkDBEdit>("kopftext");
    ASSERT_NE(headText, nullptr);
    ASSERT_TRUE(headText->MultiLine());
    const QString before = headText->text();
    EXPECT_TRUE(before.contains(QLatin1Char('\n')));
    headText->setFocus(Qt::TabFocusReason);
    QWidget *lines = QApplication::focusWidget();
    QTest::keyClick(lines, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(lines, Qt::Key_Return);
    QTest::keyClicks(lines, QStringLiteral("Gruß"));
    EXPECT_EQ(headText->text(), before + QStringLiteral("\nGruß"));
    EXPECT_TRUE(headText->hasFocus());
}

// The search window and its summary carry the titles and the closing button
// the gallery gives them, not the library's English defaults.
TEST_F(Gallery, TheSearchWindowsAreTitledInGermanAndTheSummaryCloses)
{
    QPushButton *search = nullptr;
    for (QPushButton *button : window->findChildren<QPushButton *>())
        if (button->text().startsWith(QStringLiteral("Kunden suchen")))
            search = button;
    ASSERT_NE(search, nullptr);
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        auto *form = qobject_cast<TqkFilterDlg *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        seen << form->windowTitle();
        auto *value = form->findChild<QLineEdit *>(QStringLiteral("FilterValueEdit"));
        value->setFocus();
        QTest::keyClicks(value, QStringLiteral("Wien"));
        QTimer::singleShot(0, [&seen] {
            auto *view = qobject_cast<TqkFilterDialogView *>(QApplication::activeModalWidget());
            ASSERT_NE(view, nullptr);
            auto *close = view->findChild<QPushButton *>(QStringLiteral("CancelBtn"));
            seen << view->windowTitle() << close->text();
            QTest::mouseClick(close, Qt::LeftButton);
        });
        QTest::mouseClick(form->findChild<QWidget *>(QStringLiteral("ViewButton")), Qt::LeftButton);
        seen << QApplication::activeModalWidget()->windowTitle();
        QTest::keyClick(form, Qt::Key_Escape);
    });
    QTest::mouseClick(search, Qt::LeftButton);
    EXPECT_EQ(seen.join(QStringLiteral(" | ")).toStdString(),
              "Kunden suchen | Übersicht der Suchbedingungen | &Schließen | Kunden suchen");
}

// Both roads into the text editor, the customer's remark and a position's
// text in the grid, open it with German captions.
TEST_F(Gallery, TheTextEditorSpeaksGermanFromTheRemarkAndFromTheGrid)
{
    auto *grid = part<TqkDBGrid>("positionGrid");
    const struct
    {
        QWidget *control;
        std::function<void()> focus;
        const char *title;
    } roads[] = {
        {part<TqkDBRichEdit>("bemerkung"), [this] { part<TqkDBRichEdit>("bemerkung")->setFocus(); },
         "Bemerkung bearbeiten"},
        {grid,
         [grid] {
             grid->setFocus();
             grid->SelectColumn(10);
         },
         "Positionstext bearbeiten"},
    };
    for (const auto &road : roads) {
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            auto *editor = qobject_cast<TqkRichEditForm *>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            seen << editor->windowTitle() << editor->Command(QStringLiteral("ViewRuler"))->text()
                 << editor->Command(QStringLiteral("Redo"))->text();
            editor->reject();
        });
        road.focus();
        QTest::keyClick(road.control, Qt::Key_F2);
        EXPECT_EQ(seen.join(QStringLiteral(" | ")).toStdString(),
                  std::string(road.title) + " | &Lineal | &Wiederholen");
    }
}
