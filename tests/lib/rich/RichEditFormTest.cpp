#include "demo/tables/DemoTables.h"
#include "lib/data/Qkintl.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/rich/qkRichEditForm.h"
#include "lib/rich/qkRichFontDialog.h"
#include "lib/rich/qkRichParagraphDialog.h"
#include "lib/rich/qkRichPrint.h"
#include "lib/rich/qkRichTabDialog.h"
#include "lib/rich/qkRulerPanel.h"
#include "lib/rich/qkriched.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/rtf/RtfDocument.h"
#include "support/FakePrinterService.h"
#include "support/RecordingUiServices.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `user` on the modal window of type T as soon as it is open, then
// closes it with Escape when the user left it open.
template <class T>
void whenOpen(std::function<void(T &)> user)
{
    QTimer::singleShot(0, [user] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        user(*window);
        if (window->isVisible())
            window->reject();
    });
}

void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class RichEditWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        demo::writeTables(dataFolder());
        reopen();
    }

    void reopen()
    {
        m_edit.reset();
        m_table = std::make_unique<TTable>();
        m_table->SetDatabaseName(dataFolder());
        m_table->SetTableName(QStringLiteral("Kunden"));
        m_table->Open();
        m_source.SetDataSet(m_table.get());
        m_edit = std::make_unique<TqkDBRichEdit>();
        m_edit->SetDataSource(&m_source);
        m_edit->SetDataField(QStringLiteral("Bemerkung"));
        m_edit->resize(400, 200);
        m_edit->show();
    }

    QString memo() const { return m_table->FieldByName(QStringLiteral("Bemerkung"))->AsString(); }

    ui::ScopedRecordingUiServices m_user;
    // The demo puts its user and mail folders beside the data folder.
    QString dataFolder() const { return m_folder.filePath(QStringLiteral("daten")); }
    QTemporaryDir m_folder;
    std::unique_ptr<TTable> m_table;
    TDataSource m_source;
    std::unique_ptr<TqkDBRichEdit> m_edit;
};

TEST_F(RichEditWindow, F2OpensTheWindowAndSaveAndExitWritesTheMemo)
{
    m_edit->setFocus();
    whenOpen<TqkRichEditForm>([](TqkRichEditForm &form) {
        TqkCustomRichEdit *inner = form.RichEdit1();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_TRUE(inner->toPlainText().startsWith(QStringLiteral("Stammkunde seit 1998.")));
        EXPECT_TRUE(form.ToolBar()->isVisible());
        inner->setFocus();
        QTest::keyClick(inner, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(inner, Qt::Key_Return);
        QTest::keyClick(inner, Qt::Key_B, Qt::ControlModifier);
        typeText(inner, QStringLiteral("Neue Zeile für Größe"));
        EXPECT_TRUE(form.Command(QStringLiteral("Bold"))->isChecked());
        form.Command(QStringLiteral("Center"))->trigger();
        QTest::keyClick(inner, Qt::Key_Home, Qt::ShiftModifier);
        const QList<QAction *> colors = form.ColorMenu()->actions();
        ASSERT_EQ(colors.size(), 17);
        EXPECT_EQ(colors[9]->text(), QStringLiteral("Red"));
        colors[9]->trigger();
        TqkDBComboBox &size = *form.FontSizeCombo();
        size.DropDown();
        size.PopupList()->setCurrentRow(int(size.Items().indexOf(QStringLiteral("14"))));
        size.CloseUp(true);
        EXPECT_TRUE(inner->hasFocus());
        QTest::keyClick(inner, Qt::Key_S, Qt::ControlModifier);
    });
    QTest::keyClick(m_edit.get(), Qt::Key_F2);
    m_table->Post();
    reopen();
    EXPECT_TRUE(memo().contains(QStringLiteral("\\red255\\green0\\blue0;")));
    EXPECT_TRUE(memo().contains(QStringLiteral("\\fs28")));
    EXPECT_TRUE(
        memo().contains(QRegularExpression(QStringLiteral("\\\\b\\\\[^ ]* Neue Zeile f\\\\'fcr Gr\\\\'f6\\\\'dfe"))))
        << memo().toStdString();
    const QTextBlock last = m_edit->document()->lastBlock();
    EXPECT_EQ(last.text(), QStringLiteral("Neue Zeile für Größe"));
    EXPECT_EQ(last.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

// A field that is not a blob gets nothing from the window, and its text
// stays what the field holds.
TEST_F(RichEditWindow, SaveAndExitGivesAFieldThatIsNoBlobNothing)
{
    m_edit->SetDataField(QStringLiteral("Name"));
    const QString name = m_table->FieldByName(QStringLiteral("Name"))->AsString();
    whenOpen<TqkRichEditForm>([](TqkRichEditForm &form) {
        TqkCustomRichEdit *inner = form.RichEdit1();
        inner->setFocus();
        QTest::keyClick(inner, Qt::Key_End, Qt::ControlModifier);
        typeText(inner, QStringLiteral(" geändert"));
        EXPECT_TRUE(inner->toPlainText().endsWith(QStringLiteral(" geändert")));
        form.Command(QStringLiteral("SaveExit"))->trigger();
    });
    EXPECT_TRUE(m_edit->Execute());
    EXPECT_EQ(m_edit->toPlainText(), name);
    if (m_table->State() == dsEdit)
        m_table->Post();
    reopen();
    EXPECT_EQ(m_table->FieldByName(QStringLiteral("Name"))->AsString(), name);
}

// Page set-up in the window follows only on OK: in printer width the ruler
// stays as wide as the page, in window width as wide as the window. The
// dialog shows the paper printing uses, and the orientation chosen stays.
TEST_F(RichEditWindow, PageSetupFollowsOnlyOnOkAndItsOrientationStays)
{
    os::FakePrinterService printers(m_folder.path());
    os::PrinterService::setInstance(&printers);
    const auto restore = qScopeGuard([] { os::PrinterService::setInstance(nullptr); });
    printers.setCurrentPrinter(QStringLiteral("Tintlen PDF"));
    const int letter = int(96 * 6.5) + 12, letterAcross = 96 * 9 + 12, window = -1;
    const struct
    {
        TqkRichEditWidth width;
        QDialogButtonBox::StandardButton button;
        QPageSize::PageSizeId paper;
        int rulerBefore, rulerAfter; // window: as wide as the window
    } cases[] = {
        {rewPrinterSize, QDialogButtonBox::Cancel, QPageSize::Letter, letter, letter},
        {rewPrinterSize, QDialogButtonBox::Ok, QPageSize::Letter, letter, letterAcross},
        {rewWindowSize, QDialogButtonBox::Ok, QPageSize::A4, window, window},
    };
    for (const auto &c : cases) {
        m_edit->SetEditWidth(c.width);
        m_edit->SetLandscape(false);
        whenOpen<TqkRichEditForm>([&c](TqkRichEditForm &form) {
            const TqkRulerPanel &ruler = *form.Ruler();
            const auto expected = [&form](int width) { return width == -1 ? form.width() : width; };
            EXPECT_EQ(ruler.width(), expected(c.rulerBefore)) << c.width;
            whenOpen<TqkPageSetupDialog>([&c](TqkPageSetupDialog &dialog) {
                const QComboBox &paper = *dialog.findChild<QComboBox *>();
                EXPECT_EQ(paper.currentText(), QPageSize(c.paper).name()) << c.width;
                EXPECT_EQ(paper.isEnabled(), c.width == rewPrinterSize);
                QTest::mouseClick(dialog.findChildren<QRadioButton *>().at(1), Qt::LeftButton);
                QTest::mouseClick(dialog.findChild<QDialogButtonBox *>()->button(c.button), Qt::LeftButton);
            });
            form.Command(QStringLiteral("PageSetup"))->trigger();
            EXPECT_EQ(ruler.width(), expected(c.rulerAfter)) << c.width;
            if (c.width == rewPrinterSize) {
                EXPECT_EQ(form.RichEdit1()->lineWrapColumnOrWidth(), ruler.width() - 12);
            }
            form.Command(QStringLiteral("SaveExit"))->trigger();
        });
        EXPECT_TRUE(m_edit->Execute());
        EXPECT_EQ(m_edit->Landscape(), c.button == QDialogButtonBox::Ok) << c.width;
    }
}

TEST_F(RichEditWindow, ClosingWithChangesAsksAndOnlyYesKeepsThem)
{
    const QString before = memo();
    struct Case
    {
        int answer;
        bool stillOpen;
        bool kept;
    } cases[] = {{ui::IDCANCEL, true, false}, {ui::IDNO, false, false}, {ui::IDYES, false, true}};
    for (const Case &c : cases) {
        m_user.queueAnswer(c.answer);
        bool open = false;
        whenOpen<TqkRichEditForm>([&open](TqkRichEditForm &form) {
            typeText(form.RichEdit1(), QStringLiteral("xyz"));
            form.Command(QStringLiteral("Exit"))->trigger();
            open = form.isVisible();
            if (open)
                form.done(QDialog::Accepted);
        });
        m_edit->Execute();
        EXPECT_EQ(open, c.stillOpen) << c.answer;
        EXPECT_EQ(m_edit->toPlainText().contains(QStringLiteral("xyz")), c.kept || c.stillOpen) << c.answer;
        m_table->Cancel();
        reopen();
        if (!c.kept && !c.stillOpen) {
            EXPECT_EQ(memo(), before);
        }
    }
    EXPECT_EQ(m_user.messageTexts().count(qkIntl().UserMessages->RichEditExitWarning), 3);
}

TEST_F(RichEditWindow, ReadOnlySourceShowsNoBarsAndEscapeCloses)
{
    m_edit->SetReadOnly(true);
    bool closed = false;
    whenOpen<TqkRichEditForm>([&closed](TqkRichEditForm &form) {
        EXPECT_FALSE(form.ToolBar()->isVisible());
        EXPECT_FALSE(form.FormatBar()->isVisible());
        EXPECT_FALSE(form.StatusBar()->isVisible());
        EXPECT_FALSE(form.Command(QStringLiteral("SaveExit"))->isVisible());
        EXPECT_TRUE(form.Command(QStringLiteral("Print"))->isVisible());
        QTest::keyClick(form.RichEdit1(), Qt::Key_Escape);
        closed = !form.isVisible();
    });
    EXPECT_FALSE(m_edit->Execute());
    EXPECT_TRUE(closed);
}

TEST_F(RichEditWindow, EscapeUndoesUnlessItClosesTheWindow)
{
    m_edit->EditorOptions &= ~TqkRichEditOptions(reoCloseOnEscape);
    whenOpen<TqkRichEditForm>([](TqkRichEditForm &form) {
        typeText(form.RichEdit1(), QStringLiteral("xy"));
        QTest::keyClick(form.RichEdit1(), Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.RichEdit1()->toPlainText().contains(QStringLiteral("xy")));
        EXPECT_FALSE(form.RichEdit1()->document()->isModified());
    });
    EXPECT_FALSE(m_edit->Execute());
    EXPECT_TRUE(m_user.messages().isEmpty());
}

TEST(RichTabDialog, PositionsAreCheckedSortedAndAppliedAsOneStep)
{
    TqkCustomRichEdit edit;
    edit.setPlainText(QStringLiteral("a\tb"));
    TqkRichTabDialog dialog(edit);
    struct Case
    {
        QString typed;
        bool accepted;
        QStringList list;
    } cases[] = {
        {"2", true, {"2''"}},
        {"1", true, {"1''", "2''"}},
        {"2''", true, {"1''", "2''"}},
        {"22", true, {"1''", "2''", "22''"}},
        {"22,01", false, {"1''", "2''", "22''"}},
        {"-1", false, {"1''", "2''", "22''"}},
        {"zwei", false, {"1''", "2''", "22''"}},
    };
    for (const Case &c : cases) {
        dialog.PositionEdit()->setText(c.typed);
        QTest::keyClick(dialog.PositionEdit(), Qt::Key_Return);
        EXPECT_EQ(dialog.PositionEdit()->text().isEmpty(), c.accepted) << c.typed.toStdString();
        EXPECT_EQ(dialog.Positions(), c.list) << c.typed.toStdString();
    }
    dialog.PositionEdit()->clear();
    dialog.Apply();
    const QList<QTextOption::Tab> tabs = edit.document()->firstBlock().blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_DOUBLE_EQ(tabs[1].position, 192.0);
    edit.undo();
    EXPECT_TRUE(edit.document()->firstBlock().blockFormat().tabPositions().isEmpty());
}

TEST(RichParagraphDialog, ShowsIndentsAndAppliesCheckedValuesOnce)
{
    TqkCustomRichEdit edit;
    edit.setPlainText(QStringLiteral("Absatz"));
    QTextBlockFormat format;
    format.setLeftMargin(24);
    rtf::setFirstLineIndent(format, 24);
    edit.textCursor().setBlockFormat(format);
    TqkRichParagraphDialog dialog(edit);
    EXPECT_EQ(dialog.LeftEdit()->text(), QStringLiteral("0,25''"));
    EXPECT_EQ(dialog.FirstLineEdit()->text(), QStringLiteral("0,25''"));

    // A refused value is named in a message and keeps the dialog open.
    ui::ScopedRecordingUiServices user;
    struct Refused
    {
        QLineEdit *edit;
        int rule;
        QString text, said;
    } refusals[] = {
        {dialog.LeftEdit(), lsSingle, "viel", "von -22'' bis 22''"},
        {dialog.AtEdit(), lsExactly, "abc", "von -22'' bis 22''"},
        {dialog.AtEdit(), lsMultiple, "abc", "wie viele Zeilen"},
    };
    for (const Refused &r : refusals) {
        dialog.LineSpacingCombo()->setCurrentIndex(r.rule);
        r.edit->setText(r.text);
        dialog.done(QDialog::Accepted);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        ASSERT_FALSE(user.messageTexts().isEmpty()) << r.text.toStdString();
        EXPECT_TRUE(user.messageTexts().last().contains("„" + r.text + "“")) << r.text.toStdString();
        EXPECT_TRUE(user.messageTexts().last().contains(r.said)) << user.messageTexts().last().toStdString();
        r.edit->setText(QStringLiteral("0"));
    }
    EXPECT_EQ(user.messageTexts().size(), 3);

    dialog.LeftEdit()->setText(QStringLiteral("1"));
    dialog.BeforeEdit()->clear();
    dialog.AfterEdit()->setText(QStringLiteral("0,5"));
    dialog.LineSpacingCombo()->setCurrentIndex(lsMultiple);
    dialog.AtEdit()->setText(QStringLiteral("1,5"));
    dialog.AlignmentCombo()->setText(qkIntl().RichEdit->ParagraphDialog->AlignRight);
    dialog.Apply();
    const QTextBlockFormat applied = edit.document()->firstBlock().blockFormat();
    EXPECT_DOUBLE_EQ(applied.leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(applied.topMargin(), 0.0);
    EXPECT_DOUBLE_EQ(applied.bottomMargin(), 48.0);
    EXPECT_EQ(applied.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(applied.lineHeight(), 150.0);
    EXPECT_EQ(applied.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    edit.undo();
    EXPECT_DOUBLE_EQ(edit.document()->firstBlock().blockFormat().leftMargin(), 24.0);
}

TEST(RichParagraphDialog, ChoosingALineSpacingRulePresetsItsValue)
{
    TqkCustomRichEdit edit;
    edit.setPlainText(QStringLiteral("Absatz"));
    TqkRichParagraphDialog dialog(edit);
    dialog.show();
    QComboBox &rule = *dialog.LineSpacingCombo();
    struct Case
    {
        int key;
        int rule;
        QString at;
    } cases[] = {{Qt::Key_End, lsMultiple, "1"},
                 {Qt::Key_Up, lsExactly, "0,16''"},
                 {Qt::Key_Up, lsAtLeast, "0,16''"},
                 {Qt::Key_Up, lsDouble, ""},
                 {Qt::Key_Home, lsSingle, ""}};
    for (const Case &c : cases) {
        QTest::keyClick(&rule, Qt::Key(c.key));
        EXPECT_EQ(rule.currentIndex(), c.rule);
        EXPECT_EQ(dialog.AtEdit()->text(), c.at) << c.rule;
    }
    QTest::keyClicks(dialog.AtEdit(), QStringLiteral("2"));
    EXPECT_EQ(rule.currentIndex(), lsMultiple);
}

TEST(RichTabDialog, ClearingAndAPendingPositionOnOk)
{
    TqkCustomRichEdit edit;
    edit.setPlainText(QStringLiteral("a"));
    TqkRichTabDialog dialog(edit);
    for (const char *position : {"1", "2", "3"}) {
        dialog.PositionEdit()->setText(QLatin1String(position));
        ASSERT_TRUE(dialog.SetTab());
    }
    dialog.TabList()->item(1)->setSelected(true);
    dialog.ClearSelected();
    EXPECT_EQ(dialog.Positions(), QStringList({"1''", "3''"}));
    dialog.PositionEdit()->setText(QStringLiteral("23"));
    dialog.done(QDialog::Accepted);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Positions(), QStringList({"1''", "3''"}));
    dialog.PositionEdit()->setText(QStringLiteral("0,5"));
    dialog.done(QDialog::Accepted);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Positions(), QStringList({"0,5''", "1''", "3''"}));
    dialog.ClearAll();
    EXPECT_TRUE(dialog.Positions().isEmpty());
}

// Tab stops count from the margin, whatever each selected paragraph's
// indent: the text after the tab stands at 3 cm and is stored there.
TEST(RichTabDialog, StopsCountFromTheMarginInEveryIndentedParagraph)
{
    TqkCustomRichEdit edit;
    edit.SetMeasurementUnits(muCentimeters);
    edit.resize(600, 200);
    edit.show();
    QByteArray rtf = "{\\rtf1\\ansi\\pard\\li851 A\\tab B\\par\\pard\\li567\\fi-567\\tx1134 C\\tab D\\par}";
    QBuffer stream(&rtf);
    stream.open(QIODevice::ReadOnly);
    edit.StreamIn(stream, false, false);
    QTextCursor both(edit.document());
    both.movePosition(QTextCursor::End);
    both.movePosition(QTextCursor::Start, QTextCursor::KeepAnchor);
    edit.setTextCursor(both);
    TqkRichTabDialog dialog(edit);
    EXPECT_TRUE(dialog.Positions().isEmpty());
    dialog.PositionEdit()->setText(QStringLiteral("3"));
    ASSERT_TRUE(dialog.SetTab());
    dialog.Apply();
    const QByteArray written = edit.StreamOut();
    EXPECT_TRUE(written.contains("\\li851\\tx1702\\f0\\fs24 A")) << written.toStdString();
    EXPECT_TRUE(written.contains("\\fi-567\\li567\\tx1702 C")) << written.toStdString();
    for (const int afterTab : {2, edit.document()->lastBlock().position() + 2}) {
        QTextCursor cursor(edit.document());
        cursor.setPosition(afterTab);
        const double inches = (edit.cursorRect(cursor).x() - edit.cursorRect(QTextCursor(edit.document())).x()
                               + edit.document()->firstBlock().blockFormat().leftMargin())
                              / edit.ScreenPixelsPerInch();
        EXPECT_NEAR(inches * richMeasure::centimetresPerInch, 3.0, 0.03) << afterTab;
    }
    edit.moveCursor(QTextCursor::End);
    TqkRichTabDialog again(edit);
    EXPECT_EQ(again.Positions(), QStringList({"3 cm"}));
    // Clearing them all takes the stops of the cursor's paragraph away.
    again.ClearAll();
    again.Apply();
    EXPECT_TRUE(edit.StreamOut().contains("\\pard\\fi-567\\li567 C")) << edit.StreamOut().toStdString();
}

TEST_F(RichEditWindow, NewAsksBeforeClearing)
{
    for (const int answer : {ui::IDCANCEL, ui::IDOK}) {
        m_user.queueAnswer(answer);
        whenOpen<TqkRichEditForm>([answer](TqkRichEditForm &form) {
            form.Command(QStringLiteral("New"))->trigger();
            EXPECT_EQ(form.RichEdit1()->document()->isEmpty(), answer == ui::IDOK);
            EXPECT_EQ(form.RichEdit1()->document()->isModified(), answer == ui::IDOK);
            form.done(QDialog::Accepted);
        });
        m_edit->Execute();
    }
    EXPECT_TRUE(m_edit->document()->isEmpty());
    EXPECT_EQ(m_user.messageTexts().count(qkIntl().UserMessages->RichEditClearWarning), 2);
}

}

TEST_F(RichEditWindow, ColoursAreChosenByKeyboardAndTheButtonShowsTheLastOne)
{
    TqkRichEditForm form(*m_edit);
    form.show();
    TqkCustomRichEdit &inner = *form.RichEdit1();
    inner.selectAll();
    const QColor before = form.ColorButton()->icon().pixmap(40, 12).toImage().pixelColor(20, 6);
    EXPECT_EQ(before, QColor(Qt::red));
    QMenu &menu = *form.ColorMenu();
    menu.popup(form.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    for (int i = 0; i < 13; ++i)
        QTest::keyClick(&menu, Qt::Key_Down);
    EXPECT_EQ(menu.activeAction()->text(), QStringLiteral("Blue"));
    const QImage item = menu.grab(menu.actionGeometry(menu.activeAction())).toImage();
    EXPECT_EQ(item.pixelColor(item.width() - 3, item.height() / 2), menu.palette().color(QPalette::Highlight));
    QTest::keyClick(&menu, Qt::Key_Return);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(inner.textCursor().charFormat().foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(form.ColorButton()->icon().pixmap(40, 12).toImage().pixelColor(20, 6), QColor(0, 0, 255));
}

TEST_F(RichEditWindow, EditorPositionCentresOnlyInTheDirectionsWithoutAPosition)
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case
    {
        int left, top;
        bool centredX, centredY;
    };
    for (const Case c : {Case{0, 150, true, false}, Case{120, 0, false, true}, Case{120, 150, false, false},
                         Case{-5, -5, true, true}}) {
        m_edit->EditorPosition = TqkFormPosition{c.left, c.top, 500, 400};
        TqkRichEditForm form(*m_edit);
        const QRect frame = form.frameGeometry();
        EXPECT_EQ(frame.size(), QSize(500, 400));
        EXPECT_EQ(frame.left(), c.centredX ? work.left() + (work.width() - 500) / 2 : c.left) << c.left;
        EXPECT_EQ(frame.top(), c.centredY ? work.top() + (work.height() - 400) / 2 : c.top) << c.top;
    }
}

namespace {

// A caller's own rich edit: the window must edit in one of these.
class OwnRichEdit : public TqkDBRichEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit OwnRichEdit(QWidget *parent = nullptr) : TqkDBRichEdit(parent) {}
};

}

TEST_F(RichEditWindow, TheInnerControlIsOfTheCallersClassAndUserButtonsVisitTheToolBar)
{
    OwnRichEdit own;
    own.setPlainText(QStringLiteral("Eigener Text"));
    QWidget home;
    auto *first = new QToolButton(&home);
    first->setText(QStringLiteral("Eins"));
    auto *second = new QToolButton(&home);
    second->setText(QStringLiteral("Zwei"));
    home.show();
    own.SetUserSpeedButton1(first);
    own.SetUserSpeedButton2(second);
    EXPECT_FALSE(first->isVisible()) << "an assigned button leaves its place";
    {
        TqkRichEditForm form(own);
        form.resize(1600, 500);
        form.show();
        EXPECT_NE(qobject_cast<OwnRichEdit *>(form.RichEdit1()), nullptr);
        EXPECT_EQ(form.RichEdit1()->toPlainText(), QStringLiteral("Eigener Text"));
        for (QToolButton *button : {first, second}) {
            EXPECT_TRUE(form.ToolBar()->isAncestorOf(button)) << button->text().toStdString();
            EXPECT_TRUE(button->isVisible());
            EXPECT_TRUE(button->autoRaise()) << "flat like the bar's own buttons";
        }
        EXPECT_LT(first->x(), second->x());
    }
    for (QToolButton *button : {first, second}) {
        EXPECT_EQ(button->parentWidget(), &home);
        EXPECT_FALSE(button->isVisible());
    }
}

TEST_F(RichEditWindow, WithoutFlatButtonsTheBarsButtonsStandRaisedWithoutSeparators)
{
    for (const bool flat : {true, false}) {
        m_edit->EditorOptions = flat ? TqkCustomRichEdit::defaultEditorOptions
                                     : TqkCustomRichEdit::defaultEditorOptions & ~TqkRichEditOptions(reoFlatButtons);
        TqkRichEditForm form(*m_edit);
        form.show();
        for (QToolBar *bar : {form.ToolBar(), form.FormatBar()}) {
            for (QToolButton *button : bar->findChildren<QToolButton *>())
                EXPECT_EQ(button->autoRaise(), flat) << button->text().toStdString();
            for (QAction *action : bar->actions()) {
                if (action->isSeparator()) {
                    EXPECT_EQ(action->isVisible(), flat);
                }
            }
        }
    }
}

#include "RichEditFormTest.moc"

TEST_F(RichEditWindow, PrintAsksForCopiesAndTheBuiltInPdfPrinterPrintsThem)
{
    os::FakePrinterService printers(m_folder.path());
    os::PrinterService::setInstance(&printers);
    printers.setCurrentPrinter(QStringLiteral("Tintlen PDF"));
    m_edit->PrintJobName = QStringLiteral("Bemerkung");
    TqkRichEditForm form(*m_edit);
    form.show();
    bool asked = false;
    whenOpen<QPrintDialog>([&asked](QPrintDialog &dialog) {
        asked = true;
        auto *copies = dialog.findChild<QSpinBox *>(QStringLiteral("copies"));
        ASSERT_NE(copies, nullptr);
        copies->setValue(3);
        dialog.accept();
    });
    form.Command(QStringLiteral("Print"))->trigger();
    os::PrinterService::setInstance(nullptr);
    EXPECT_TRUE(asked);
    ASSERT_EQ(printers.jobs().size(), 1);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {printers.jobs().first().outputFile});
    ASSERT_TRUE(info.waitForFinished());
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+3\\b")));
}

// A font name or size typed into its box and confirmed with Enter is set on
// the selection as one chosen from the list is, and the text has the focus.
TEST_F(RichEditWindow, ATypedFontNameOrSizeTakesEffectOnEnter)
{
    TqkRichEditForm form(*m_edit);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TqkCustomRichEdit &inner = *form.RichEdit1();
    const QString family = QFontDatabase::families().first();
    ASSERT_NE(inner.currentCharFormat().font().family(), family);
    struct Case
    {
        TqkDBComboBox *box;
        QString typed;
        std::function<bool(const QTextCharFormat &)> applied;
    } cases[] = {
        {form.FontSizeCombo(), "20", [](const QTextCharFormat &f) { return f.fontPointSize() == 20; }},
        {form.FontSizeCombo(), "zwanzig", [](const QTextCharFormat &f) { return f.fontPointSize() == 20; }},
        {form.FontNameCombo(), family, [&](const QTextCharFormat &f) { return f.font().family() == family; }},
    };
    for (const Case &c : cases) {
        inner.selectAll();
        c.box->setFocus();
        c.box->selectAll();
        QTest::keyClicks(c.box, c.typed);
        QTest::keyClick(c.box, Qt::Key_Return);
        EXPECT_TRUE(c.applied(inner.textCursor().charFormat())) << c.typed.toStdString();
        EXPECT_TRUE(inner.hasFocus()) << c.typed.toStdString();
    }
}

// The window prints on the printer's own paper, A4 for the built-in PDF
// printer, unless the text is laid out in printer width for a paper of
// its own.
TEST_F(RichEditWindow, PrintingKeepsThePrintersPaperUnlessTheTextIsLaidOutForItsOwn)
{
    os::FakePrinterService printers(m_folder.path());
    os::PrinterService::setInstance(&printers);
    const auto restore = qScopeGuard([] { os::PrinterService::setInstance(nullptr); });
    printers.setCurrentPrinter(QStringLiteral("Tintlen PDF"));
    struct Case
    {
        TqkRichEditWidth width;
        int paperCode;
        QString pageSize;
    } cases[] = {{rewWindowSize, 1, "(A4)"}, {rewPrinterSize, 1, "(letter)"}, {rewPrinterSize, 11, "(A5)"}};
    for (const Case &c : cases) {
        m_edit->SetEditWidth(c.width);
        m_edit->SetPaperSize(c.paperCode);
        TqkRichEditForm form(*m_edit);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        whenOpen<QPrintDialog>([](QPrintDialog &dialog) { dialog.accept(); });
        QTest::keyClick(form.RichEdit1(), Qt::Key_P, Qt::ControlModifier);
        ASSERT_FALSE(printers.jobs().isEmpty());
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {printers.jobs().last().outputFile});
        ASSERT_TRUE(info.waitForFinished());
        const QString output = QString::fromUtf8(info.readAllStandardOutput());
        EXPECT_TRUE(output.contains(QRegularExpression("Page size:.*" + QRegularExpression::escape(c.pageSize))))
            << output.toStdString();
    }
    EXPECT_EQ(printers.jobs().size(), 3);
}

// Members added to or taken from the option set show or hide what they
// name; the text in the window keeps the caller's caret and MaxLength; the
// NUM panel shows only a Num Lock it can read.
TEST_F(RichEditWindow, OptionsAddedToTheSetShowTheirCommandsAndTheLengthLimitHolds)
{
    m_edit->EditorOptions |= reoShowLoad | reoShowSaveAs;
    m_edit->EditorOptions &= ~TqkRichEditOptions(reoShowPrint);
    const int length = int(m_edit->toPlainText().size());
    m_edit->SetMaxLength(length + 2);
    QTextCursor caret = m_edit->textCursor();
    caret.setPosition(5);
    m_edit->setTextCursor(caret);
    whenOpen<TqkRichEditForm>([](TqkRichEditForm &form) {
        for (const auto &[name, shown] :
             {std::pair{"Load", true}, std::pair{"SaveAs", true}, std::pair{"Print", false}})
            EXPECT_EQ(form.Command(QLatin1String(name))->isVisible(), shown) << name;
        TqkCustomRichEdit &inner = *form.RichEdit1();
        EXPECT_EQ(inner.textCursor().position(), 5) << "the caret stands where it stood in the caller";
        inner.moveCursor(QTextCursor::End);
        // Keys of the number pad say nothing about Num Lock, which cannot
        // be read here.
        QTest::keyClicks(&inner, QStringLiteral("xyz"), Qt::KeypadModifier);
        EXPECT_TRUE(form.StatusBar()->findChild<QLabel *>(QStringLiteral("NumPanel"))->text().isEmpty());
        form.done(QDialog::Accepted);
    });
    m_edit->setFocus();
    QTest::keyClick(m_edit.get(), Qt::Key_F2);
    EXPECT_TRUE(m_edit->toPlainText().endsWith(QStringLiteral("xy")));
    EXPECT_EQ(m_user.beeps(), 1);
}

// The font dialog offers the colour: chosen by keys and taken on OK, left
// on Cancel; OK keeps the style of the text, also in a family whose
// upright style is not called "Normal".
TEST_F(RichEditWindow, TheFontDialogSetsTheColourAndKeepsTheStyle)
{
    TqkRichEditForm form(*m_edit);
    TqkCustomRichEdit &inner = *form.RichEdit1();
    struct Case
    {
        bool bold, italic;
        int downs; // from the first colour, Black
        Qt::Key close;
        QColor expected;
    } cases[] = {{false, false, 12, Qt::Key_Return, Qt::blue},
                 {true, true, 9, Qt::Key_Escape, QColor(1, 2, 3)},
                 {true, false, 9, Qt::Key_Return, Qt::red},
                 {false, true, 0, Qt::Key_Return, Qt::black}};
    for (const Case &c : cases) {
        inner.selectAll();
        inner.SetSelectionFont(QStringLiteral("DejaVu Sans"), 12, QColor(1, 2, 3), c.bold, c.italic, false, false);
        whenOpen<TqkRichFontDialog>([&c](TqkRichFontDialog &dialog) {
            QComboBox &colours = *dialog.ColorChoice();
            colours.setFocus();
            QTest::keyClick(&colours, Qt::Key_Home);
            for (int i = 0; i < c.downs; ++i)
                QTest::keyClick(&colours, Qt::Key_Down);
            QTest::keyClick(&colours, c.close);
        });
        form.Command(QStringLiteral("Font"))->trigger();
        const QTextCharFormat format = inner.textCursor().charFormat();
        EXPECT_EQ(format.foreground().color(), c.expected) << c.downs;
        EXPECT_EQ(format.fontWeight() >= QFont::Bold, c.bold) << c.downs;
        EXPECT_EQ(format.fontItalic(), c.italic) << c.downs;
    }
}
