#include "demo/tables/DemoTables.h"
#include "lib/data/Qkintl.h"
#include "lib/data/Qkquery.h"
#include "lib/data/Qktable.h"
#include "lib/edit/qkdbdatetimepicker.h"
#include "lib/filterdlg/TqkFilterDialogView.h"
#include "lib/filterdlg/TqkFilterDlg.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TField.h"
#include "platform/runtime/DateConversions.h"
#include "support/RecordingUiServices.h"
#include "support/TypedDates.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

template <class T>
T *part(TqkFilterDlg &form, const char *name)
{
    return form.findChild<T *>(QLatin1String(name));
}

class FilterForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qkInstallFilterDlg();
        demo::writeTables(dataFolder());
        open(QStringLiteral("Kunden"));
    }

    void open(const QString &name)
    {
        m_table.Close();
        m_table.SetDatabaseName(dataFolder());
        m_table.SetTableName(name);
        m_table.Open();
        m_source.SetDataSet(&m_table);
        m_dialog.SetDataSource(&m_source);
    }

    // Runs Execute while `user` works the form the way a user does.
    bool executeWith(const std::function<void(TqkFilterDlg &)> &user)
    {
        QTimer::singleShot(0, [user] {
            auto *form = qobject_cast<TqkFilterDlg *>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
            user(*form);
            if (form->isVisible())
                QTest::keyClick(form, Qt::Key_Escape);
        });
        return m_dialog.Execute();
    }

    static void clickField(TqkFilterDlg &form, const QString &label)
    {
        QListWidget &list = *part<QListWidget>(form, "FieldsListBox");
        const QList<QListWidgetItem *> found = list.findItems(label, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << label.toStdString();
        list.scrollToItem(found.first());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(found.first()).center());
    }

    // A label's "&" is an access key, shown underlined, only with a buddy.
    static void expectAccessKeysHaveVisibleBuddies(TqkFilterDlg &form)
    {
        for (QLabel *label : form.findChildren<QLabel *>()) {
            if (!label->isVisible() || !label->text().contains(QLatin1Char('&')))
                continue;
            ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
            EXPECT_TRUE(label->buddy()->isVisible()) << label->text().toStdString();
        }
    }

    static void typeInto(QWidget *control, const QString &text)
    {
        QTest::mouseClick(control, Qt::LeftButton);
        QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(control, Qt::Key_Backspace);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, control,
                                c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }

    static void clickButton(TqkFilterDlg &form, const QString &caption)
    {
        for (QPushButton *button : form.findChildren<QPushButton *>())
            if (button->text() == caption)
                QTest::mouseClick(button, Qt::LeftButton);
    }
    static void clickOk(TqkFilterDlg &form) { clickButton(form, qkIntl().BtnOKCaption); }

    QStringList column(const QString &field)
    {
        QStringList values;
        for (m_table.First(); !m_table.Eof(); m_table.Next())
            values << m_table.FieldByName(field)->AsString();
        return values;
    }

    ui::ScopedRecordingUiServices m_user;
    // The demo puts its user and mail folders beside the data folder.
    QString dataFolder() const { return m_folder.filePath(QStringLiteral("daten")); }
    QTemporaryDir m_folder;
    TqkTable m_table;
    TDataSource m_source;
    TqkFilterDialog m_dialog;
};

TEST_F(FilterForm, CriteriaTypedIntoTheFormFilterTheCustomers)
{
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Ort"));
        EXPECT_EQ(part<QStackedWidget>(form, "SelectNotebook")->currentIndex(), 0);
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("münchen or wien"));
        clickField(form, QStringLiteral("Name"));
        QTest::mouseClick(part<QWidget>(form, "MatchAny"), Qt::LeftButton);
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("söhne"));
        QTimer::singleShot(0, [] {
            auto *view = qobject_cast<TqkFilterDialogView *>(QApplication::activeModalWidget());
            ASSERT_NE(view, nullptr);
            const QTableWidget &grid = *view->findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
            ASSERT_EQ(grid.rowCount(), 2);
            EXPECT_EQ(grid.item(0, 2)->text(), QStringLiteral("münchen or wien"));
            EXPECT_EQ(grid.item(1, 1)->text(), QStringLiteral("Partial Match Anywhere"));
            QTest::mouseClick(view->findChild<QWidget *>(QStringLiteral("CancelBtn")), Qt::LeftButton);
        });
        QTest::mouseClick(part<QWidget>(form, "ViewButton"), Qt::LeftButton);
        clickOk(form);
    }));
    EXPECT_EQ(column(QStringLiteral("nr")), QStringList({"10001", "10008"}));
    ASSERT_EQ(m_dialog.FieldInfo().size(), 2u);
    EXPECT_EQ(m_dialog.FieldInfo()[1]->FieldName, QStringLiteral("Name"));
    EXPECT_EQ(m_dialog.FieldInfo()[1]->MatchType, fdMatchAny);

    // The form opens on the searched fields; emptying a value drops its
    // criterion and the list no longer offers the field.
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) {
        EXPECT_EQ(part<QTabBar>(form, "FieldTabSet")->currentIndex(), 1);
        EXPECT_EQ(part<QListWidget>(form, "FieldsListBox")->count(), 2);
        clickField(form, QStringLiteral("Name"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QString());
        clickField(form, QStringLiteral("Ort"));
        EXPECT_TRUE(
            part<QListWidget>(form, "FieldsListBox")->findItems(QStringLiteral("Name"), Qt::MatchExactly).isEmpty());
        clickOk(form);
    }));
    EXPECT_EQ(column(QStringLiteral("Ort")), QStringList({"München", "Wien", "München"}));
}

TEST_F(FilterForm, RewrittenSqlIsHandedOutWithTheShownForm)
{
    // The joined table's fields are offered, those the query does not return too.
    TqkQuery query;
    query.SetDatabaseName(dataFolder());
    query.SetSQL({"SELECT k.nr, k.Ort FROM Kunden k LEFT OUTER JOIN laender l ON k.Land = l.Lkz"});
    query.Open();
    m_source.SetDataSet(&query);
    m_dialog.SetFilterMethod(fdByQueryModify);
    QWidget *handedForm = nullptr;
    TQuery *handedQuery = nullptr;
    QStringList sqlSeen;
    m_dialog.OnExecuteSQL = [&](QWidget *form, TQuery *sql) {
        handedForm = form;
        handedQuery = sql;
        sqlSeen = sql->SQL();
    };
    TqkFilterDlg *shown = nullptr;
    ASSERT_TRUE(executeWith([&](TqkFilterDlg &form) {
        shown = &form;
        clickField(form, QStringLiteral("Ort"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("wien"));
        clickField(form, QStringLiteral("Vorwahl"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("+43"));
        clickOk(form);
    }));
    EXPECT_EQ(handedForm, shown);
    EXPECT_EQ(handedQuery, &query);
    EXPECT_EQ(sqlSeen, query.SQL());
    EXPECT_EQ(sqlSeen.value(1), QStringLiteral("Where"));
    QStringList places;
    for (query.First(); !query.Eof(); query.Next())
        places << query.FieldByName("Ort")->AsString();
    EXPECT_EQ(places, QStringList({"Wien"}));
    m_dialog.SetDataSource(nullptr);
}

TEST_F(FilterForm, CancelLeavesCriteriaAndRecordsAsTheyWere)
{
    // Cancel closes even while "Bis" holds a date that is none, and asks nothing.
    EXPECT_FALSE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Gruendungsdatum"));
        auto *to = part<QWidget>(form, "MaxDateEdit");
        to->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(to, QStringLiteral("31.06.2000"));
        clickButton(form, qkIntl().BtnCancelCaption);
    }));
    EXPECT_EQ(m_user.messageTexts(), QStringList());
    EXPECT_TRUE(m_dialog.FieldInfo().empty());
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Land"));
        QTest::mouseClick(part<QWidget>(form, "MatchExact"), Qt::LeftButton);
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("A"));
        clickOk(form);
    }));
    ASSERT_EQ(column(QStringLiteral("nr")), QStringList({"10007"}));
    EXPECT_FALSE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Land"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("D"));
        QTest::mouseClick(part<QWidget>(form, "ClearSearchButton"), Qt::LeftButton);
    }));
    ASSERT_EQ(m_dialog.FieldInfo().size(), 1u);
    EXPECT_EQ(m_dialog.FieldInfo()[0]->FilterValue, QStringLiteral("A"));
    EXPECT_EQ(column(QStringLiteral("nr")), QStringList({"10007"}));

    // OK without a change applies nothing: the current record stays.
    m_dialog.ClearFilter();
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Ort"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("München"));
        clickOk(form);
    }));
    m_table.Last();
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) { clickOk(form); }));
    EXPECT_EQ(m_table.FieldByName(QStringLiteral("nr"))->AsString(), QStringLiteral("10008"));
}

TEST_F(FilterForm, DateRangeFromThePickersAndBadBoundsKeepTheField)
{
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Gruendungsdatum"));
        EXPECT_EQ(part<QStackedWidget>(form, "SelectNotebook")->currentIndex(), 1);
        EXPECT_TRUE(part<TqkDBDateTimePicker>(form, "MinDateEdit")->isVisible());
        EXPECT_FALSE(part<QWidget>(form, "MinValueEdit")->isVisible());
        expectAccessKeysHaveVisibleBuddies(form);
        part<TqkDBDateTimePicker>(form, "MinDateEdit")->SetDate(EncodeDate(1900, 1, 1));
        clickOk(form);
    }));
    EXPECT_EQ(column(QStringLiteral("nr")), QStringList({"10004"}));

    open(QStringLiteral("atrpos"));
    m_dialog.ClearFilter();
    int beeps = m_user.beeps();
    EXPECT_FALSE(executeWith([&beeps, this](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("posnr"));
        EXPECT_EQ(part<QStackedWidget>(form, "SelectNotebook")->currentIndex(), 1);
        expectAccessKeysHaveVisibleBuddies(form);
        typeInto(part<QWidget>(form, "MinValueEdit"), QStringLiteral("1-2"));
        clickField(form, QStringLiteral("menge"));
        EXPECT_EQ(part<QListWidget>(form, "FieldsListBox")->currentItem()->text(), QStringLiteral("posnr"));
        EXPECT_TRUE(part<QWidget>(form, "MinValueEdit")->hasFocus());
        clickOk(form);
        EXPECT_TRUE(form.isVisible());
        EXPECT_GT(m_user.beeps(), beeps);
    }));
    EXPECT_TRUE(m_dialog.FieldInfo().empty());
}

// The founding dates of the demo customers reach back to 1887; a bound typed
// as the user types it filters by that date, and a digit that makes no date
// beeps and is shown, never taken.
TEST_F(FilterForm, TypedDateBoundsReachBackAndImpossibleOnesAreRefused)
{
    const auto typeDate = [](QWidget *picker, const QString &digits) {
        QTest::mouseClick(picker, Qt::LeftButton);
        for (const QChar c : digits)
            QTest::keyClick(picker, c.toLatin1());
    };
    m_user.setNow(QDateTime(QDate(2026, 12, 5), QTime(14, 7)));
    ASSERT_TRUE(executeWith([&typeDate, this](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Gruendungsdatum"));
        auto *from = part<TqkDBDateTimePicker>(form, "MinDateEdit");
        auto *to = part<TqkDBDateTimePicker>(form, "MaxDateEdit");
        typeDate(from, QStringLiteral("01011890"));
        EXPECT_EQ(from->text(), QStringLiteral("01.01.1890"));
        const int beeps = m_user.beeps();
        typeDate(to, QStringLiteral("32"));
        EXPECT_EQ(m_user.beeps(), beeps + 1);
        EXPECT_EQ(m_user.messageTexts(), QStringList());
        EXPECT_TRUE(to->HasUnfinishedDate() && to->text() == QStringLiteral("32.12.2026"));
        QTest::keyClick(to, Qt::Key_Escape);
        typeDate(to, QStringLiteral("31121898"));
        clickOk(form);
    }));
    ASSERT_EQ(m_dialog.FieldInfo().size(), 1u);
    EXPECT_EQ(m_dialog.FieldInfo()[0]->MinValue, QStringLiteral("01.01.1890"));
    EXPECT_EQ(m_dialog.FieldInfo()[0]->MaxValue, QStringLiteral("31.12.1898"));
    EXPECT_EQ(column(QStringLiteral("nr")), QStringList({"10005"}));
}

// The typed bound is the date typed, whatever the picker held; one still
// impossible when Enter ends the typing keeps the form open for correcting.
TEST_F(FilterForm, TypedDateBoundsAreKeptAsTypedOrRefusedWhole)
{
    m_user.setNow(QDateTime(QDate(2026, 12, 5), QTime(14, 7)));
    for (const typed::DateTyping &c : typed::dateTypings) {
        if (c.time)
            continue;
        SCOPED_TRACE(c.what);
        m_dialog.ClearFilter();
        m_user.clear();
        const bool closed = executeWith([&c, this](TqkFilterDlg &form) {
            clickField(form, QStringLiteral("Gruendungsdatum"));
            auto *from = part<TqkDBDateTimePicker>(form, "MinDateEdit");
            if (*c.holding)
                from->SetDate(StrToDate(QLatin1String(c.holding)));
            from->setFocus(Qt::TabFocusReason);
            for (int i = 1; i < c.lastField; ++i)
                QTest::keyClick(from, Qt::Key_Right);
            part<QWidget>(form, "MaxDateEdit")->setFocus(Qt::TabFocusReason);
            from->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(from, QLatin1String(c.keys));
            QTest::keyClick(from, Qt::Key_Return);
            EXPECT_EQ(m_user.messageTexts(), *c.refusal ? QStringList{c.refusal} : QStringList());
            if (*c.refusal) {
                EXPECT_TRUE(from->hasFocus() && QString(c.refusal).contains("„" + from->text() + "“"));
            }
            if (form.isVisible())
                clickOk(form);
        });
        EXPECT_EQ(m_user.beeps(), c.beeps + (*c.refusal ? 1 : 0)) << "the form beeps at the bound it refuses";
        EXPECT_EQ(closed, !*c.refusal);
        if (closed) {
            ASSERT_EQ(m_dialog.FieldInfo().size(), 1u);
            EXPECT_EQ(m_dialog.FieldInfo()[0]->MinValue.toStdString(), c.kept);
        }
    }
}

// A number's bound takes only what numbers are written with; what still is
// no number keeps the form open and the user is told which field and why.
TEST_F(FilterForm, NumberFieldsRefuseLettersAndNameWhatCannotBeTaken)
{
    open(QStringLiteral("atrpos"));
    struct Case
    {
        const char *field;
        const char *control;
        const char *typed;
        const char *shown;
        const char *said;
    } cases[] = {
        {"posnr", "MinValueEdit", "abc12", "12", ""},
        {"posnr", "MaxValueEdit", "1-2", "1-2",
         "The entry „1-2“ under „Ending Range“ for the field „posnr“ is not a whole number."},
        {"posnr", "MinValueEdit", "3000000000", "3000000000",
         "The entry „3000000000“ under „Starting Range“ for the field „posnr“ lies outside the range of whole "
         "numbers."},
        {"menge", "MinValueEdit", "zwei,5", "e,5",
         "The entry „e,5“ under „Starting Range“ for the field „menge“ is not a number."},
        {"menge", "FilterValueEdit", "1,5 or zwei", "1,5 or zwei",
         "The entry „zwei“ under „Field Value“ for the field „menge“ is not a number."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        m_dialog.ClearFilter();
        m_user.clear();
        const bool closed = executeWith([&c](TqkFilterDlg &form) {
            clickField(form, QLatin1String(c.field));
            QTabBar &pages = *part<QTabBar>(form, "ValueRangeTabSet");
            const int page = QLatin1String(c.control) == QLatin1String("FilterValueEdit") ? 0 : 1;
            QTest::mouseClick(&pages, Qt::LeftButton, {}, pages.tabRect(page).center());
            auto *edit = part<QLineEdit>(form, c.control);
            typeInto(edit, QString::fromUtf8(c.typed));
            EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown));
            clickOk(form);
            EXPECT_EQ(edit->hasFocus(), *c.said != 0);
        });
        EXPECT_EQ(closed, *c.said == 0);
        EXPECT_EQ(m_user.messageTexts(), *c.said ? QStringList{QString::fromUtf8(c.said)} : QStringList());
    }
}

TEST_F(FilterForm, FieldListFollowsSelectedFieldsOrderAndTabs)
{
    m_dialog.SetSelectedFields({"Ort;Stadt", "Name", "Bild", "plz"});
    const auto listed = [](TqkFilterDlg &form) {
        QStringList texts;
        QListWidget &list = *part<QListWidget>(form, "FieldsListBox");
        for (int row = 0; row < list.count(); ++row)
            texts << list.item(row)->text();
        return texts;
    };
    const auto clickTab = [](TqkFilterDlg &form, int index) {
        QTabBar &tabs = *part<QTabBar>(form, "FieldTabSet");
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(index).center());
    };
    ASSERT_TRUE(executeWith([&](TqkFilterDlg &form) {
        EXPECT_EQ(listed(form), QStringList({"Stadt", "Name", "plz"}));
        clickTab(form, 1);
        EXPECT_EQ(part<QTabBar>(form, "FieldTabSet")->currentIndex(), 0);
        EXPECT_TRUE(m_user.messageTexts().contains(qkIntl().UserMessages->FilterDlgNoCriteria));
        QTest::mouseClick(part<QWidget>(form, "FieldOrderAlphabetic"), Qt::LeftButton);
        EXPECT_EQ(listed(form), QStringList({"Name", "plz", "Stadt"}));
        clickField(form, QStringLiteral("Stadt"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("wien"));
        clickField(form, QStringLiteral("Name"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("h"));
        QTest::keyClick(part<QWidget>(form, "FilterValueEdit"), Qt::Key_Down);
        EXPECT_EQ(part<QListWidget>(form, "FieldsListBox")->currentItem()->text(), QStringLiteral("plz"));
        clickTab(form, 1);
        EXPECT_EQ(listed(form), QStringList({"Name", "Stadt"}));
        clickField(form, QStringLiteral("Name"));
        QTest::keyClick(part<QWidget>(form, "FieldsListBox"), Qt::Key_Delete);
        EXPECT_EQ(listed(form), QStringList({"Stadt"}));
        clickOk(form);
    }));
    ASSERT_EQ(m_dialog.FieldInfo().size(), 1u);
    EXPECT_EQ(m_dialog.FieldInfo()[0]->DisplayName, QStringLiteral("Stadt"));
    EXPECT_EQ(column(QStringLiteral("nr")), QStringList({"10007"}));
}

TEST_F(FilterForm, SelectFieldHandlerGivesTheComboItsListForWholeAndStartMatches)
{
    m_dialog.OnSelectField = [](QObject *, const QString &field, QString &mask, QStringList &list) {
        if (field == QStringLiteral("Land"))
            list = {"A", "CH", "D"};
        if (field == QStringLiteral("plz"))
            mask = QStringLiteral("#####");
    };
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Land"));
        QWidget *combo = part<QWidget>(form, "FilterValueCombo");
        QWidget *edit = part<QWidget>(form, "FilterValueEdit");
        EXPECT_TRUE(combo->isVisible());
        EXPECT_FALSE(edit->isVisible());
        typeInto(combo, QStringLiteral("A"));
        QTest::mouseClick(part<QWidget>(form, "MatchAny"), Qt::LeftButton);
        EXPECT_FALSE(combo->isVisible());
        EXPECT_EQ(static_cast<QLineEdit *>(edit)->text(), QStringLiteral("A"));
        QTest::mouseClick(part<QWidget>(form, "MatchExact"), Qt::LeftButton);
        EXPECT_TRUE(combo->isVisible());
        clickField(form, QStringLiteral("plz"));
        EXPECT_FALSE(combo->isVisible());
        QTest::mouseClick(part<QWidget>(form, "ValueRangeTabSet"), Qt::LeftButton, {},
                          part<QTabBar>(form, "ValueRangeTabSet")->tabRect(0).center());
        typeInto(edit, QStringLiteral("1x0"));
        EXPECT_EQ(static_cast<QLineEdit *>(edit)->text(), QStringLiteral("10"));
        clickOk(form);
    }));
    EXPECT_EQ(column(QStringLiteral("nr")), QStringList({"10007"}));
}

// The form keeps its designed size, the list its height, and the arrow keys
// on a radio button move through the fields, not the radio buttons.
TEST_F(FilterForm, TheFormKeepsItsSizeAndArrowsMoveThroughTheFields)
{
    int withButtons = 0;
    for (const int dlgHeight : {267, 347}) {
        m_dialog.SetDlgHeight(dlgHeight);
        executeWith([dlgHeight, &withButtons](TqkFilterDlg &form) {
            EXPECT_EQ(part<QWidget>(form, "FieldsListBox")->height(), dlgHeight - 107) << dlgHeight;
            EXPECT_GE(form.width(), 476) << dlgHeight;
            EXPECT_GE(form.height(), dlgHeight - 27) << dlgHeight;
            for (QRadioButton *radio : form.findChildren<QRadioButton *>())
                EXPECT_GE(radio->width(), radio->sizeHint().width()) << radio->objectName().toStdString();
            withButtons = form.width();
        });
    }
    int viewButtonLeft = 0;
    executeWith([&viewButtonLeft](TqkFilterDlg &form) { viewButtonLeft = part<QWidget>(form, "ViewButton")->x(); });
    m_dialog.SetOptions(m_dialog.Options() & ~fdShowOKCancel & ~fdShowViewSummary);
    executeWith([withButtons, viewButtonLeft](TqkFilterDlg &form) {
        EXPECT_LT(form.width(), withButtons);
        EXPECT_EQ(part<QWidget>(form, "ClearSearchButton")->x(), viewButtonLeft) << "in the view button's place";
    });
    m_dialog.SetOptions(m_dialog.Options() | fdShowOKCancel);
    executeWith([](TqkFilterDlg &form) {
        QListWidget &list = *part<QListWidget>(form, "FieldsListBox");
        auto *exact = part<QRadioButton>(form, "MatchExact");
        QTest::mouseClick(exact, Qt::LeftButton);
        const int row = list.currentRow();
        QTest::keyClick(exact, Qt::Key_Down);
        EXPECT_EQ(list.currentRow(), row + 1);
        EXPECT_FALSE(part<QRadioButton>(form, "MatchAny")->isChecked()) << "the radio buttons stay as they were";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        EXPECT_EQ(list.currentRow(), row);
    });
}

// Sorted alphabetically, the form opens on the first listed field with a
// criterion; a time field opens on the value page under the record filter.
TEST_F(FilterForm, TheFirstListedCriterionAndTheTimePage)
{
    m_table.Close();
    m_table.AddField(CreateField(&m_table, QStringLiteral("Anrufzeit"), ftTime, 0, fkCalculated));
    open(QStringLiteral("Kunden"));
    m_dialog.setProperty("SortBy", fdSortByFieldName);
    ASSERT_TRUE(executeWith([](TqkFilterDlg &form) {
        clickField(form, QStringLiteral("Anrufzeit"));
        EXPECT_EQ(part<QStackedWidget>(form, "SelectNotebook")->currentIndex(), 0);
        clickField(form, QStringLiteral("Ort"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("Wien"));
        clickField(form, QStringLiteral("Land"));
        typeInto(part<QWidget>(form, "FilterValueEdit"), QStringLiteral("A"));
        clickOk(form);
    }));
    executeWith([](TqkFilterDlg &form) {
        EXPECT_EQ(part<QListWidget>(form, "FieldsListBox")->currentItem()->text(), QStringLiteral("Land"));
        EXPECT_EQ(part<QLineEdit>(form, "FilterValueEdit")->text(), QStringLiteral("A"));
    });
}

// The summary's columns widen to their texts rather than cutting them, and
// the window opens in the middle of the screen.
TEST(FilterSummary, ColumnsAreAsWideAsTheirTextsAndTheWindowStandsMidScreen)
{
    const TqkFieldOperators words;
    const std::vector<TqkFieldInfo> criteria{
        {"Gruendungsdatum", "Gründungsdatum der Niederlassung in Österreich", fdMatchAny, "Wien", "", ""}};
    QWidget form;
    form.setGeometry(0, 0, 200, 150);
    form.show();
    TqkFilterDialogView view(criteria, words, &form);
    view.show();
    const QPoint offCentre = view.geometry().center() - view.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 30) << "centred on the screen, not on the form";
    QTableWidget &grid = *view.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    for (int column = 0; column < 3; ++column)
        EXPECT_GE(grid.columnWidth(column), static_cast<const QAbstractItemView &>(grid).sizeHintForColumn(column));
    EXPECT_LE(grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2), grid.viewport()->width());
}

TEST(FilterSummary, RowsDescribeEachCriterion)
{
    TqkFieldOperators words;
    struct Case
    {
        TqkFieldInfo info;
        QStringList row;
    } cases[] = {
        {{"Ort", "Ort", fdMatchStart, "Mün", "", ""}, {"Ort", "Partial Match at Beginning", "Mün"}},
        {{"Name", "Name", fdMatchAny, "a or b", "", "", false, true},
         {"Name", "Partial Match Anywhere", "NOT (a or b)"}},
        {{"Land", "Land", fdMatchExact, "D", "", "", false, true}, {"Land", "Exact Match", "NOT D"}},
        {{"plz", "PLZ", fdMatchRange, "", "1", "3"}, {"PLZ", "By Range", ">=1, <=3"}},
        {{"plz", "PLZ", fdMatchRange, "", "", "3"}, {"PLZ", "By Range", "<=3"}},
        {{"plz", "PLZ", fdMatchEnd, "x", "", ""}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TqkFilterDialogView::SummaryRow(c.info, words), c.row) << c.info.DisplayName.toStdString();
}

}
