#include "EditTables.h"

#include "lib/edit/Qkdbcomb.h"
#include "platform/db/TField.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <tuple>

namespace {

const QStringList countries = {"Deutschland\tD", "Österreich\tA", "Schweiz\tCH"};

// Counts the events of one type that reach the object it watches.
class EventCounter : public QObject
{
public:
    EventCounter(QEvent::Type type, int &count, QObject *parent) : QObject(parent), m_type(type), m_count(count) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            ++m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int &m_count;
};

}

class ComboBoxTest : public EditTables
{
protected:
    // An unbound, writable combo box of the given style.
    TqkDBComboBox *makeCombo(TComboBoxStyle style, const QStringList &items = countries)
    {
        auto *combo = new TqkDBComboBox(window.get());
        combo->SetItems(items);
        combo->SetStyle(style);
        combo->SetReadOnly(false);
        return combo;
    }
};

TEST_F(ComboBoxTest, MapItemsShowTheDisplayTextAndStoreTheValue)
{
    auto *combo = new TqkDBComboBox(window.get());
    combo->SetItems(countries);
    combo->SetMapList(true);
    combo->SetDataSource(source.get());
    combo->SetDataField("Land");
    show(combo);
    ASSERT_EQ(customers->FieldByName("Land")->AsString(), "D");
    EXPECT_EQ(combo->text(), "Deutschland");
    QString display;
    EXPECT_TRUE(combo->MapValueToDisplay("XX", display));
    EXPECT_EQ(display, "");

    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo->IsDroppedDown());
    EXPECT_TRUE(combo->hasFocus());
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->text(), "Österreich");
    leave(combo);
    customers->Post();
    EXPECT_EQ(customers->FieldByName("Land")->AsString(), "A");
}

TEST_F(ComboBoxTest, ListHeightIsTheShownRowsPlusFourPixels)
{
    for (int count : {10, 3}) {
        QStringList items;
        for (int i = 0; i < count; ++i)
            items << QString("Eintrag %1").arg(i);
        auto *combo = makeCombo(csDropDown, items);
        show(combo);
        combo->DropDown();
        const int rowHeight = combo->PopupList()->sizeHintForRow(0);
        EXPECT_EQ(combo->PopupList()->height(), qMin(count, 8) * rowHeight + 4);
        combo->CloseUp(false);
        delete combo;
    }
}

TEST_F(ComboBoxTest, ClicksOnARowOrOutsideCloseAndTakeTheRow)
{
    auto *combo = makeCombo(csDropDownList);
    QList<bool> closed;
    combo->OnCloseUp = [&closed](QObject *, bool select) { closed.append(select); };
    show(combo);
    combo->DropDown();
    TqkPopupListbox *list = combo->PopupList();
    const QRect row = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->text(), "Schweiz");
    EXPECT_TRUE(combo->isModified());
    ASSERT_EQ(closed.size(), 1);
    EXPECT_TRUE(closed[0]);

    combo->DropDown();
    list->setCurrentRow(0);
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->text(), "Deutschland");
}

TEST_F(ComboBoxTest, OwnerDrawListSearchesTypedLettersWithinOneAndAHalfSeconds)
{
    auto *combo = makeCombo(csOwnerDrawFixed, {"Bonn", "Meier", "Mettmann", "Müller", "Siegen"});
    show(combo);
    combo->DropDown();
    QTest::keyClick(combo, 'M');
    QTest::keyClick(combo, 'e');
    QTest::keyClick(combo, 't');
    EXPECT_EQ(combo->PopupList()->currentRow(), 2);
    services.setNow(services.now().addMSecs(1600));
    QTest::keyClick(combo, 'S');
    EXPECT_EQ(combo->PopupList()->currentRow(), 4);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(combo->text(), "Siegen");
}

TEST_F(ComboBoxTest, DropDownListSelectsByFirstLetterAndArrowsAndKeepsIndexInRange)
{
    auto *combo = makeCombo(csDropDownList);
    show(combo);
    QTest::keyClick(combo, 'S');
    EXPECT_EQ(combo->text(), "Schweiz");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->ItemIndex(), 2);
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(combo->text(), "Österreich");
    combo->SetItemIndex(99);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->ItemText(99), "");
    combo->SetItems({"Zug\tZ", "aachen\tA", "Bonn\tB"});
    combo->Sorted = true;
    combo->DropDown();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(combo->text(), "aachen");
    EXPECT_EQ(combo->ItemText(combo->ItemIndex()), "aachen");
}

// Capitals typed with Shift and umlauts pick their item too.
TEST_F(ComboBoxTest, EveryTypedLetterPicksItsItemAndTheFieldStoresItsValue)
{
    auto *combo = makeCombo(csDropDownList);
    combo->SetMapList(true);
    combo->SetDataSource(source.get());
    combo->SetDataField("Land");
    const QString nr = customers->FieldByName("nr")->AsString();
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text, shown, stored;
    } cases[] = {{Qt::Key_S, Qt::ShiftModifier, "S", "Schweiz", "CH"},
                 {Qt::Key_Odiaeresis, Qt::NoModifier, "ö", "Österreich", "A"},
                 {Qt::Key_D, Qt::ShiftModifier, "D", "Deutschland", "D"},
                 {Qt::Key_Odiaeresis, Qt::ShiftModifier, "Ö", "Österreich", "A"}};
    for (const auto &c : cases) {
        show(combo);
        QTest::sendKeyEvent(QTest::Click, combo, c.key, c.text, c.modifiers);
        EXPECT_EQ(combo->text(), c.shown) << c.text.toStdString();
        leave(combo);
        customers->Post();
        EXPECT_EQ(storedCustomerField(nr, "Land"), c.stored) << c.text.toStdString();
    }
}

// However near the screen's top the combo stands, the list opens above it
// only when it would pass the screen's bottom.
TEST_F(ComboBoxTest, TheListOpensAboveOnlyWhenItWouldPassTheScreensBottom)
{
    QStringList items;
    for (int i = 0; i < 40; ++i)
        items << QString("Eintrag %1").arg(i);
    auto *combo = makeCombo(csDropDown, items);
    show(combo);
    const QRect screen = combo->screen()->geometry();
    const struct
    {
        int rows, comboTop;
        bool above;
    } cases[] = {{20, 10, false}, {40, 40, true}, {8, screen.bottom() - 30, true}, {8, 40, false}};
    for (const auto &c : cases) {
        combo->DropDownCount = c.rows;
        window->move(screen.left(), c.comboTop - combo->mapTo(window.get(), QPoint(0, 0)).y());
        QApplication::processEvents();
        combo->DropDown();
        const int top = combo->mapToGlobal(QPoint(0, 0)).y();
        EXPECT_EQ(combo->PopupList()->y(), c.above ? top - combo->PopupList()->height() : top + combo->height() - 1)
            << c.rows << " rows at " << top;
        combo->CloseUp(false);
    }
}

TEST_F(ComboBoxTest, ABoundOwnerDrawnComboSelectsTheItemOfItsField)
{
    auto *combo = makeCombo(csOwnerDrawFixed, {"Herrn", "Firma", "Frau"});
    combo->SetDataSource(source.get());
    combo->SetDataField("Anrede");
    show(combo);
    ASSERT_EQ(customers->FieldByName("Anrede")->AsString(), "Firma");
    EXPECT_EQ(combo->ItemIndex(), 1);
    customers->Next();
    combo->DropDown();
    EXPECT_EQ(combo->PopupList()->currentRow(), combo->Items().indexOf(customers->FieldByName("Anrede")->AsString()));
    EXPECT_EQ(combo->ButtonStyle(), cbsDownArrow);
}

TEST_F(ComboBoxTest, ShowMatchTextCompletesTheTypedStart)
{
    auto *combo = makeCombo(csDropDown);
    combo->ShowMatchText = true;
    show(combo);
    QTest::keyClick(combo, 'S');
    EXPECT_EQ(combo->text(), "Schweiz");
    EXPECT_EQ(combo->selectedText(), "chweiz");
}

TEST_F(ComboBoxTest, ADroppedDownComboThatDiesLeavesNoWatcherBehind)
{
    auto *combo = makeCombo(csDropDown);
    show(combo);
    combo->DropDown();
    ASSERT_TRUE(combo->PopupList()->isVisible());
    delete combo;
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(ComboBoxTest, ClearKeyEmptiesTheValueOfADropDownList)
{
    auto *combo = new TqkDBComboBox(window.get());
    combo->SetItems(countries);
    combo->SetMapList(true);
    combo->SetStyle(csDropDownList);
    combo->AllowClearKey = true;
    combo->SetDataSource(source.get());
    combo->SetDataField("Land");
    show(combo);
    EXPECT_FALSE(combo->ShowsCaret());
    QTest::keyClick(combo, Qt::Key_Delete);
    EXPECT_EQ(combo->text(), "");
    EXPECT_EQ(combo->ItemIndex(), -1);
    leave(combo);
    customers->Post();
    EXPECT_EQ(customers->FieldByName("Land")->AsString(), "");
}

TEST_F(ComboBoxTest, ButtonAndTextClicksOpenAndCloseTheList)
{
    auto *combo = makeCombo(csDropDownList);
    show(combo);
    leave(combo);
    QTest::mouseClick(combo->Button(), Qt::LeftButton);
    EXPECT_TRUE(combo->IsDroppedDown());
    EXPECT_TRUE(combo->hasFocus());
    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(combo->IsDroppedDown());
    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(combo->IsDroppedDown());
    QTest::keyClick(combo, Qt::Key_Escape);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->text(), "");
}

TEST_F(ComboBoxTest, OwnerDrawnComboPaintsItsRowsAndTextThroughOnDrawItem)
{
    auto *combo = makeCombo(csOwnerDrawFixed);
    QList<QPair<int, bool>> drawn;
    combo->OnDrawItem = [&drawn](QObject *, int index, QPainter &painter, const QRect &rect, bool selected) {
        drawn.append({index, selected});
        painter.fillRect(rect, index == 1 ? Qt::red : Qt::green);
    };
    show(combo);
    combo->SetItemIndex(1);
    QImage edit = combo->grab().toImage();
    EXPECT_TRUE(drawn.contains(qMakePair(1, true)));
    const QColor text = edit.pixelColor(combo->GetTextRect().center());
    EXPECT_TRUE(text.red() > 200 && text.green() < 60) << text.name().toStdString();
    combo->DropDown();
    drawn.clear();
    const QImage list = combo->PopupList()->grab().toImage();
    EXPECT_TRUE(drawn.contains(qMakePair(0, false)));
    EXPECT_TRUE(drawn.contains(qMakePair(2, false)));
    const QRect firstRow = combo->PopupList()->visualItemRect(combo->PopupList()->item(0));
    EXPECT_EQ(list.pixelColor(combo->PopupList()->viewport()->mapTo(combo->PopupList(), firstRow.center())),
              QColor(Qt::green));
}

// A handler that frames its swatch, as the list's rows allow, keeps the
// swatch's colour in the closed combo too, with and without the focus.
TEST_F(ComboBoxTest, TheClosedOwnerDrawnComboKeepsTheColoursItsHandlerDraws)
{
    auto *combo = makeCombo(csOwnerDrawFixed);
    QRect swatch;
    combo->OnDrawItem = [&swatch](QObject *, int, QPainter &painter, const QRect &rect, bool) {
        swatch = QRect(rect.left() + 3, rect.top() + 3, 24, rect.height() - 6);
        painter.fillRect(swatch, Qt::red);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        painter.drawText(rect.adjusted(32, 0, 0, 0), Qt::AlignVCenter, QStringLiteral("Dringend"));
    };
    show(combo);
    combo->SetItemIndex(1);
    for (const bool focused : {false, true}) {
        focused ? combo->setFocus() : leave(combo);
        // The focus frame may lay a tint over the area; the swatch stays red.
        const QColor shown = combo->grab().toImage().pixelColor(swatch.center());
        EXPECT_TRUE(shown.red() > 200 && shown.green() < 60 && shown.blue() < 60) << focused;
    }
}

TEST_F(ComboBoxTest, RowsShowCapitalUmlautsWholeAndVariableRowsTakeTheirMeasuredHeights)
{
    auto *combo = makeCombo(csDropDownList);
    show(combo);
    combo->DropDown();
    TqkPopupListbox *list = combo->PopupList();
    const QFontMetrics metrics(list->font());
    const QRect umlaut = metrics.tightBoundingRect(QStringLiteral("Ö"));
    ASSERT_LT(umlaut.top(), metrics.tightBoundingRect(QStringLiteral("O")).top()) << "the dots stand above the capital";
    const int wanted = qMax(metrics.ascent(), -umlaut.top()) + metrics.descent();
    for (int row = 0; row < list->count(); ++row)
        EXPECT_GE(list->visualItemRect(list->item(row)).height(), wanted) << row;
    combo->CloseUp(false);

    auto *measured = makeCombo(csOwnerDrawVariable);
    measured->OnMeasureItem = [](QObject *, int index, int &height) { height = 10 + 5 * index; };
    show(measured);
    measured->DropDown();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(measured->PopupList()->visualItemRect(measured->PopupList()->item(row)).height(), 10 + 5 * row);
    EXPECT_EQ(measured->PopupList()->height(), 10 + 15 + 20 + 4);
}

// A closed list combo paints its text itself; it stands where an edit of the
// same size writes the same text, capital umlauts whole, at either scale.
TEST_F(ComboBoxTest, AClosedListComboShowsItsTextWhereAnEditShowsIt)
{
    const auto inkBox = [](QWidget *control, int right) {
        const QImage image = control->grab().toImage();
        QRect box;
        for (int y = 2; y < image.height() - 2; ++y)
            for (int x = 2; x < right; ++x)
                if (image.pixelColor(x, y).lightness() < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    for (const int scale : {1, 2}) {
        QFont font = window->font();
        font.setPointSizeF(font.pointSizeF() * scale);
        auto *edit = new TqkDBEdit(window.get());
        auto *combo = makeCombo(csDropDownList);
        for (QWidget *control : {static_cast<QWidget *>(edit), static_cast<QWidget *>(combo)}) {
            control->setFont(font);
            control->setFixedSize(220 * scale, edit->sizeHint().height());
            show(control);
        }
        edit->setText("Österreich");
        combo->SetItemIndex(1);
        leave(combo);
        const int right = combo->Button()->x() - 2;
        EXPECT_EQ(inkBox(combo, right), inkBox(edit, right)) << scale;
        delete edit;
        delete combo;
    }
}

TEST_F(ComboBoxTest, HintsStayOffWhileTheListIsDown)
{
    int hints = 0;
    auto *hinted = new QLineEdit(window.get());
    hinted->installEventFilter(new EventCounter(QEvent::ToolTip, hints, hinted));
    auto *combo = makeCombo(csDropDownList);
    show(combo);
    const auto askHint = [hinted] {
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), hinted->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(hinted, &help);
    };
    askHint();
    EXPECT_EQ(hints, 1);
    combo->DropDown();
    askHint();
    EXPECT_EQ(hints, 1);
    combo->CloseUp(true);
    askHint();
    EXPECT_EQ(hints, 2);
}

// Two items of one text store different values: the picked one stores its
// own, also after the sorted list is opened again; a typed text stores the
// first item's, and a text of no item is refused with a beep on leaving and
// on saving, keeping the field's value.
TEST_F(ComboBoxTest, APickedItemStoresItsOwnValueAndATextOfNoItemIsRefused)
{
    auto *combo = makeCombo(csDropDown, {"Schweiz\tCH", "Deutschland\tD", "Deutschland\tDE"});
    combo->Sorted = true;
    combo->SetMapList(true);
    combo->SetDataSource(source.get());
    combo->SetDataField("Land");
    const auto expectStored = [&](const QString &value, int beeps) {
        customers->CheckBrowseMode();
        EXPECT_EQ(storedCustomerField(customers->FieldByName("nr")->AsString(), "Land"), value);
        EXPECT_EQ(combo->text(), "Deutschland");
        EXPECT_EQ(services.beeps(), beeps);
        show(combo);
    };
    show(combo);
    combo->DropDown();
    QTest::mouseClick(combo->PopupList()->viewport(), Qt::LeftButton, {},
                      combo->PopupList()->visualItemRect(combo->PopupList()->item(1)).center());
    leave(combo);
    expectStored("DE", 0);
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(combo, Qt::Key_Return);
    leave(combo);
    expectStored("DE", 0);
    for (const auto &[typed, save, stored, beeps] :
         {std::tuple{"Ungarn", false, "DE", 1}, {"Ungarn", true, "DE", 2}, {"Deutschland", false, "D", 2}}) {
        QTest::keyClick(combo, Qt::Key_A, Qt::ControlModifier);
        typeText(combo, typed);
        save ? customers->Post() : leave(combo);
        expectStored(stored, beeps);
    }
}

// Arrows at the ends of the list, or on an empty one, leave the record
// unmodified; only the style simple hides the button.
TEST_F(ComboBoxTest, ArrowsAtTheListsEndsChangeNothingAndOnlySimpleHidesTheButton)
{
    auto *combo = makeCombo(csDropDownList);
    combo->SetMapList(true);
    combo->SetDataSource(source.get());
    combo->SetDataField("Land");
    show(combo);
    for (const auto &[value, key, items] :
         {std::tuple{"D", Qt::Key_Up, countries}, std::tuple{"CH", Qt::Key_Down, countries},
          std::tuple{"", Qt::Key_Up, QStringList()}}) {
        combo->SetItems(items);
        customers->Edit();
        customers->FieldByName("Land")->SetAsString(value);
        customers->Post();
        QTest::keyClick(combo, key);
        EXPECT_EQ(customers->State(), dsBrowse) << value;
    }
    combo->SetShowButton(false);
    combo->SetStyle(csDropDown);
    EXPECT_FALSE(combo->GetShowButton());
    combo->SetStyle(csSimple);
    combo->SetStyle(csDropDownList);
    EXPECT_TRUE(combo->GetShowButton());
}
