#include "demo/gallery/GalleryWindow.h"
#include "lib/data/Qkintl.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/edit/qkdbedit.h"
#include "lib/filterdlg/TqkFilterDialogView.h"
#include "lib/filterdlg/TqkFilterDlg.h"
#include "lib/grid/qkDBGrid.h"
#include "lib/grid/qkMemoDialog.h"
#include "lib/rich/qkRichEditForm.h"
#include "lib/rich/qkRichFindDialogs.h"
#include "lib/rich/qkRichFontDialog.h"
#include "lib/rich/qkRichParagraphDialog.h"
#include "lib/rich/qkRichPrint.h"
#include "lib/rich/qkRichTabDialog.h"
#include "lib/rich/qkriched.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "support/RecordingUiServices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMetaProperty>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <tuple>

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

    // What `read` finds in the modal window of type W that `open` brings up,
    // which is closed afterwards.
    template <class W>
    static QString readModal(const std::function<void()> &open, const std::function<QString(W &)> &read)
    {
        QString seen = QStringLiteral("kein Fenster");
        QTimer::singleShot(0, [&] {
            if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget())) {
                seen = read(*window);
                window->close();
            }
        });
        open();
        return seen;
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
    EXPECT_EQ(intl.FilterDialog->EntryRefusedText.arg("1-2", "Bis", "posnr", intl.FilterDialog->NotWholeNumberText),
              QStringLiteral("Der Eintrag „1-2“ unter „Bis“ für das Feld „posnr“ ist keine ganze Zahl."));
    EXPECT_EQ(intl.RichEdit->MenuLabels->FileCaption, QStringLiteral("&Datei"));
    EXPECT_EQ(intl.RichEdit->TabDialog->TabDlgCaption, QStringLiteral("Tabulatoren"));
    EXPECT_EQ(intl.UserMessages->RichEditExitWarning,
              QStringLiteral("Es wurden Änderungen vorgenommen! Wollen Sie die Änderungen speichern?"));
    EXPECT_EQ(intl.BtnCancelCaption, QStringLiteral("Abbrechen"));
    EXPECT_EQ(intl.MonthCalendar->NewYearPrompt, QStringLiteral("Neues Jahr:"));
    EXPECT_TRUE(intl.UserMessages->PictureMaskInTable.startsWith(QStringLiteral("Die Paradox-Tabelle")));
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

// The search window, its summary and the text editor on both of its roads
// carry the gallery's German captions, not the library's English defaults.
TEST_F(Gallery, SearchAndEditorWindowsAreCaptionedInGerman)
{
    const auto summary = [](TqkFilterDialogView &view) {
        return view.windowTitle() + QStringLiteral(" | ") + view.findChild<QPushButton *>("CancelBtn")->text();
    };
    const auto search = [&summary](TqkFilterDlg &form) {
        QTest::keyClicks(form.findChild<QWidget *>(QStringLiteral("FilterValueEdit")), QStringLiteral("Wien"));
        QWidget *view = form.findChild<QWidget *>(QStringLiteral("ViewButton"));
        return form.windowTitle() + QStringLiteral(" | ")
               + readModal<TqkFilterDialogView>([view] { QTest::mouseClick(view, Qt::LeftButton); }, summary);
    };
    QPushButton *open = nullptr;
    for (QPushButton *button : window->findChildren<QPushButton *>())
        open = button->text().startsWith(QStringLiteral("Kunden suchen")) ? button : open;
    EXPECT_EQ(readModal<TqkFilterDlg>([open] { QTest::mouseClick(open, Qt::LeftButton); }, search).toStdString(),
              "Kunden suchen | Übersicht der Suchbedingungen | &Schließen");

    const auto editor = [](TqkRichEditForm &form) {
        return QStringList({form.windowTitle(), form.Command(QStringLiteral("ViewRuler"))->text(),
                            form.Command(QStringLiteral("Redo"))->text()})
            .join(QStringLiteral(" | "));
    };
    auto *grid = part<TqkDBGrid>("positionGrid");
    grid->SelectColumn(10);
    for (QWidget *road : {static_cast<QWidget *>(part<TqkDBRichEdit>("bemerkung")), static_cast<QWidget *>(grid)}) {
        road->setFocus();
        EXPECT_TRUE(readModal<TqkRichEditForm>([road] { QTest::keyClick(road, Qt::Key_F2); }, editor)
                        .endsWith(QStringLiteral("bearbeiten | &Lineal | Wieder&holen")));
    }
}

namespace {

// The English defaults of the captions object that the gallery replaced.
void collectReplaced(const QObject &defaults, const QObject &used, QSet<QString> &replaced)
{
    const QMetaObject *meta = defaults.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QVariant english = meta->property(i).read(&defaults);
        const QVariant german = meta->property(i).read(&used);
        if (english.metaType() == QMetaType::fromType<QString>() && english != german)
            replaced.insert(english.toString());
        else if (english.metaType().flags().testFlag(QMetaType::PointerToQObject))
            collectReplaced(*english.value<QObject *>(), *german.value<QObject *>(), replaced);
    }
}

// Every text a window and its parts show: titles, captions, hints and the
// items of lists.
QStringList shownTexts(const QWidget &window)
{
    QStringList texts;
    QObjectList parts = window.findChildren<QObject *>();
    parts << const_cast<QWidget *>(&window);
    for (const QObject *part : std::as_const(parts)) {
        for (const char *name : {"text", "title", "windowTitle", "toolTip", "statusTip", "Items"})
            texts << part->property(name).toStringList();
        if (const auto *combo = qobject_cast<const QComboBox *>(part)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
    }
    return texts;
}

}

// Both rich text windows, the remark's and the position text cell's, and
// the dialogs they open show no English text the gallery made German.
TEST_F(Gallery, TheRichTextWindowsAndTheirDialogsSpeakGerman)
{
    const TqkIntl defaults;
    QSet<QString> replaced{QStringLiteral("Edit Rich Text")};
    collectReplaced(defaults, qkIntl(), replaced);
    QStringList shown;
    const auto inspectWindow = [&shown] {
        QTimer::singleShot(0, [&shown] {
            auto *editor = qobject_cast<TqkRichEditForm *>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            shown << shownTexts(*editor);
            for (const char *dialog : {"Paragraph", "Tabs"}) {
                QTimer::singleShot(0, [&shown] {
                    QWidget *open = QApplication::activeModalWidget();
                    shown << shownTexts(*open);
                    QTest::keyClick(open, Qt::Key_Escape);
                });
                editor->Command(QLatin1String(dialog))->trigger();
            }
            QTest::keyClick(editor->RichEdit1(), Qt::Key_Escape);
        });
    };
    auto *remark = part<TqkDBRichEdit>("bemerkung");
    remark->setFocus();
    inspectWindow();
    QTest::keyClick(remark, Qt::Key_F2);
    auto *grid = part<TqkDBGrid>("positionGrid");
    grid->setFocus();
    grid->SelectColumn(11);
    inspectWindow();
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_TRUE(shown.contains(QStringLiteral("Bemerkung bearbeiten")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Positionstext bearbeiten")));
    QStringList english;
    for (const QString &text : std::as_const(shown)) {
        if (replaced.contains(text))
            english << text;
    }
    EXPECT_TRUE(english.isEmpty()) << english.join(QStringLiteral(", ")).toStdString();
}

// Closing the window stores what was typed into a field and a grid cell,
// ends the program and takes its temporary tables along.
TEST(GalleryProgram, ClosingStoresWhatWasTypedAndEnds)
{
    ui::ScopedRecordingUiServices user;
    // As the library's application object does.
    QApplication::setQuitOnLastWindowClosed(false);
    QString folder;
    QTimer::singleShot(0, [&folder] {
        gallery::GalleryWindow *window = nullptr;
        for (QWidget *shown : QApplication::topLevelWidgets())
            window = window ? window : qobject_cast<gallery::GalleryWindow *>(shown);
        ASSERT_NE(window, nullptr);
        QApplication::setActiveWindow(window);
        TqkDBEdit *name = nullptr;
        for (TqkDBEdit *edit : window->findChildren<TqkDBEdit *>())
            name = edit->DataField() == QStringLiteral("Name") ? edit : name;
        ASSERT_NE(name, nullptr);
        folder = qobject_cast<TTable *>(name->DataSource()->DataSet())->DatabaseName();
        name->setFocus(Qt::TabFocusReason);
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, QStringLiteral("Meier und Partner"));
        auto *grid = window->findChild<TqkDBGrid *>(QStringLiteral("positionGrid"));
        const QRect cell = grid->CellRect(4, 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        for (const QChar c : QStringLiteral("Schrauben"))
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        window->close();
        for (const auto &[table, field, typed] :
             {std::tuple{"Kunden", "Name", "Meier und Partner"}, std::tuple{"atrpos", "Bezeichnung", "Schrauben"}}) {
            TTable stored;
            stored.SetDatabaseName(folder);
            stored.SetTableName(QLatin1String(table));
            stored.Open();
            EXPECT_EQ(stored.FieldByName(QLatin1String(field))->Text(), QLatin1String(typed)) << table;
        }
    });
    // Fails instead of hanging when the window's closing ends nothing.
    QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(gallery::showGallery({}), 0) << "the program ends with its window";
    QApplication::setQuitOnLastWindowClosed(true);
    EXPECT_FALSE(folder.isEmpty());
    EXPECT_FALSE(QDir(folder).exists()) << "the temporary tables are gone";
    EXPECT_TRUE(user.messageTexts().isEmpty()) << user.messageTexts().join(QLatin1Char('\n')).toStdString();
}

// Two customers share one name; the one picked in the grid's customer
// column is the one the position stores.
TEST_F(Gallery, TheGridStoresTheCustomerPickedAmongTwoOfOneName)
{
    auto *grid = part<TqkDBGrid>("positionGrid");
    auto *combo = part<TqkDBComboBox>("kundeCombo");
    const int second = int(combo->Items().indexOf(QStringLiteral("Müller & Söhne GmbH\t10008")));
    ASSERT_GE(second, 0);
    grid->setFocus();
    grid->SelectColumn(9);
    QApplication::processEvents();
    QTest::mouseClick(combo->Button(), Qt::LeftButton);
    ASSERT_TRUE(combo->IsDroppedDown());
    TqkPopupListbox *list = combo->PopupList();
    list->scrollToItem(list->item(second));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(second)).center());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    TTable stored;
    stored.SetDatabaseName(folder.path());
    stored.SetTableName(QStringLiteral("atrpos"));
    stored.Open();
    EXPECT_EQ(stored.FieldByName(QStringLiteral("kundennr"))->Text(), QStringLiteral("10008"));
}

namespace {

// The captions of one scope that share an access key, "Alt+B: Alpha&betisch = &Bis".
QStringList clashesAmong(const QStringList &captions)
{
    QMap<QString, QStringList> byKey;
    for (const QString &caption : captions)
        byKey[QKeySequence::mnemonic(caption).toString()] << caption;
    byKey.remove(QString());
    QStringList clashes;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        if (it.value().size() > 1)
            clashes << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(" = "));
    return clashes;
}

// Access keys a window gives twice: among its controls and menu bar, and
// within each of its menus.
QStringList accessKeyClashes(const QWidget &window)
{
    QStringList clashes;
    QStringList own;
    QList<const QWidget *> parts = window.findChildren<const QWidget *>();
    parts.prepend(&window);
    for (const QWidget *part : std::as_const(parts)) {
        QStringList menu;
        for (const QAction *item : part->actions())
            (qobject_cast<const QMenuBar *>(part) ? own : menu) << item->text();
        if (qobject_cast<const QMenu *>(part))
            clashes << clashesAmong(menu);
        if (part->window() != &window)
            continue;
        if (const auto *button = qobject_cast<const QAbstractButton *>(part))
            own << button->text();
        else if (const auto *label = qobject_cast<const QLabel *>(part); label && label->buddy())
            own << label->text();
        else if (const auto *box = qobject_cast<const QGroupBox *>(part))
            own << box->title();
        else if (const auto *tabs = qobject_cast<const QTabBar *>(part))
            for (int tab = 0; tab < tabs->count(); ++tab)
                own << tabs->tabText(tab);
    }
    return clashes + clashesAmong(own);
}

// Pairs of controls that Tab reaches against the order they stand in: a
// later one above an earlier one of its column, or left of one in its row.
QStringList tabsAgainstPlaces(QWidget &window)
{
    QList<QWidget *> chain;
    for (QWidget *next = window.nextInFocusChain(); next != &window; next = next->nextInFocusChain())
        if (next->window() == &window && !next->focusProxy() && next->isVisible() && next->isEnabled()
            && (next->focusPolicy() & Qt::TabFocus))
            chain << next;
    QStringList wrong;
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const QRect earlier(chain[i]->mapTo(&window, QPoint()), chain[i]->size());
        for (qsizetype j = i + 1; j < chain.size(); ++j) {
            const QRect later(chain[j]->mapTo(&window, QPoint()), chain[j]->size());
            const bool column = earlier.left() < later.right() && later.left() < earlier.right();
            const bool row = earlier.top() < later.bottom() && later.top() < earlier.bottom();
            if ((column && later.bottom() <= earlier.top()) || (row && !column && later.right() <= earlier.left()))
                wrong << QStringLiteral("%1 before %2")
                             .arg(chain[i]->metaObject()->className(), chain[j]->metaObject()->className());
        }
    }
    return wrong;
}

}

// Every window the gallery shows gives each access key once (each of its
// menus on its own), and Tab takes the fields of its dialogs in the order
// they stand; Qt's parts of them speak German, as the application has them.
TEST_F(Gallery, EveryWindowGivesEachAccessKeyOnceAndTabsThroughItsFieldsAsTheyStand)
{
    QTranslator qtTexts;
    ASSERT_TRUE(qtTexts.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&qtTexts);
    auto *remark = part<TqkDBRichEdit>("bemerkung");
    TqkRichEditForm editor(*remark, window.get());
    TqkMemoDialog memo;
    const std::function<QWidget *()> dialogs[] = {
        [&] { return new TqkRichTabDialog(*editor.RichEdit1(), &editor); },
        [&] { return new TqkRichParagraphDialog(*editor.RichEdit1(), &editor); },
        [&] { return new TqkRichFontDialog(QFont(), QColor(), &editor); },
        [&] { return new TqkPageSetupDialog(*editor.RichEdit1(), &editor); },
        [&] { return new TqkFindDialog(&editor, false); },
        [&] { return new TqkFindDialog(&editor, true); },
        [&] { return new TqkMemoDlg(&memo, true, &editor); },
        [&] { return new TqkFilterDialogView({}, TqkFieldOperators(), &editor); }};
    editor.show();
    QStringList faults = accessKeyClashes(editor);
    for (const auto &make : dialogs) {
        const std::unique_ptr<QWidget> dialog(make());
        dialog->show();
        faults << accessKeyClashes(*dialog) << tabsAgainstPlaces(*dialog);
    }
    remark->PopupMenu()->popup(QPoint(0, 0));
    faults << accessKeyClashes(*remark->PopupMenu());
    remark->PopupMenu()->hide();
    QPushButton *open = nullptr;
    for (QPushButton *button : window->findChildren<QPushButton *>())
        open = button->text().startsWith(QStringLiteral("Kunden suchen")) ? button : open;
    faults << readModal<TqkFilterDlg>(
        [open] { QTest::mouseClick(open, Qt::LeftButton); },
        [](TqkFilterDlg &form) { return (accessKeyClashes(form) + tabsAgainstPlaces(form)).join(QLatin1Char('\n')); });
    QCoreApplication::removeTranslator(&qtTexts);
    faults.removeAll(QString());
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}
