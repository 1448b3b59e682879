#include "GridTables.h"

#include "demo/tables/DemoTables.h"
#include "lib/edit/qkdbdatetimepicker.h"
#include "lib/edit/qkdbedit.h"
#include "lib/grid/qkGridPictures.h"
#include "lib/grid/qkMemoDialog.h"
#include "lib/rich/qkriched.h"
#include "platform/runtime/DateConversions.h"
#include "platform/runtime/DateTime.h"
#include "support/TypedDates.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

// The form class whose own controls never move into a grid, and one derived from it.
class TqkRecordViewForm : public QWidget
{
    Q_OBJECT
};

class TqkOrderRecordView : public TqkRecordViewForm
{
    Q_OBJECT
};

namespace {

bool rowIsInk(const QImage &image, int y, int left, int right, QRgb ink)
{
    for (int x = left; x <= right; ++x)
        if (image.pixel(x, y) != ink)
            return false;
    return true;
}

}

TEST_F(GridTables, TheDraggedColumnTravelsAtTheDragOffset)
{
    const struct
    {
        int offset;
        int moveBy;
    } cases[] = {{0, 30}, {15, 12}, {40, -20}};
    openGrid();
    const QRgb ink = grid->palette().color(QPalette::WindowText).rgb();
    for (const auto &drag : cases) {
        grid->SetDragVertOffset(drag.offset);
        const QRect title = grid->CellRect(3, 0);
        const QPoint press = title.center();
        const QPoint to = press + QPoint(drag.moveBy, 4);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, press);
        QTest::mouseMove(grid->viewport(), press + QPoint(0, 3));
        QTest::mouseMove(grid->viewport(), to);
        const QImage image = shot();
        const int left = title.left() + drag.moveBy;
        const int right = left + title.width() - 1;
        EXPECT_TRUE(rowIsInk(image, drag.offset, left, right, ink)) << "the frame's top at " << drag.offset;
        EXPECT_FALSE(rowIsInk(image, drag.offset + 3, left + 1, right - 1, ink)) << drag.offset;
        EXPECT_EQ(image.pixel(left, drag.offset + title.height() * 2), ink) << "the frame's left side";
        EXPECT_NE(image.pixel(left + 2, drag.offset + title.height() * 2), ink) << drag.offset;
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, press);
        settle();
    }
}

// The glyph of the data set's state, centred in the current row's indicator
// cell: black marks on the title colour, or yellow ones.
TEST_F(GridTables, TheIndicatorShowsTheStatesGlyph)
{
    const QColor titleColor(180, 200, 230);
    const struct
    {
        const char *state;
        void (*enter)(TqkTable &);
        gridpictures::IndicatorGlyph glyph;
        TIndicatorColorType color;
    } cases[] = {
        {"browse", [](TqkTable &) {}, gridpictures::IndicatorGlyph::Arrow, icBlack},
        {"edit", [](TqkTable &table) { table.Edit(); }, gridpictures::IndicatorGlyph::Edit, icBlack},
        {"insert", [](TqkTable &table) { table.Insert(); }, gridpictures::IndicatorGlyph::Insert, icBlack},
        {"browse, yellow", [](TqkTable &) {}, gridpictures::IndicatorGlyph::Arrow, icYellow},
        {"insert, yellow", [](TqkTable &table) { table.Insert(); }, gridpictures::IndicatorGlyph::Insert, icYellow},
    };
    grid->SetTitleColor(titleColor);
    openGrid();
    for (const auto &indicator : cases) {
        grid->SetIndicatorColor(indicator.color);
        indicator.enter(*positions);
        const QImage image = shot();
        const QRect cell = grid->CellRect(0, grid->Row());
        const QImage &glyph = gridpictures::indicatorGlyph(indicator.glyph);
        const QPoint at(cell.left() + (cell.width() - glyph.width()) / 2 + 1,
                        (2 * cell.top() + cell.height() - glyph.height()) / 2);
        const QRgb mark = indicator.color == icYellow ? QColor(Qt::yellow).rgb() : qRgb(0, 0, 0);
        int wrong = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                if (image.pixel(at + QPoint(x, y)) != (glyph.pixel(x, y) == qRgb(0, 0, 0) ? mark : titleColor.rgb()))
                    ++wrong;
        EXPECT_EQ(wrong, 0) << indicator.state;
        EXPECT_EQ(image.pixel(cell.topLeft() + QPoint(1, 1)), titleColor.rgb()) << indicator.state;
        positions->Cancel();
    }

    grid->SetFixedCols(1);
    const QImage fixed = shot();
    for (const int col : {1, 2})
        EXPECT_EQ(fixed.pixel(grid->CellRect(col, grid->Row() + 1).topLeft() + QPoint(1, 1)) == titleColor.rgb(),
                  col == 1)
            << "a fixed data column is painted like the titles";
    grid->SetDataSource(nullptr);
    EXPECT_GT(inkIn(shot(), grid->CellRect(0, grid->Row())), 0.05) << "the arrow shows without a data set";
}

// A grid on a form, over customers, with a named edit control for the name column.
class GridOnForm : public GridTables
{
protected:
    void SetUp() override
    {
        GridTables::SetUp();
        demo::writeTable("Kunden.db", dir.path());
        positions->SetTableName("Kunden");
    }
    void TearDown() override
    {
        grid.reset();
        form.reset();
        GridTables::TearDown();
    }
    // Each form gets a grid of its own, so no control wired before stays behind.
    void placeOn(QWidget *newForm)
    {
        grid.reset();
        form.reset(newForm);
        positions->Close();
        grid = std::make_unique<TqkDBGrid>();
        form->resize(1000, 400);
        grid->resize(1000, 320);
        grid->setParent(form.get());
        form->show();
    }
    // One appointment with a date, a time and a date-time field.
    void openAppointments()
    {
        positions->SetTableName("Termine");
        positions->FieldDefs()->AddParadox("Nr", "I");
        positions->FieldDefs()->AddParadox("Betreff", "A20");
        positions->FieldDefs()->AddParadox("Tag", "D");
        positions->FieldDefs()->AddParadox("Beginn", "T");
        positions->FieldDefs()->AddParadox("Zeitpunkt", "@");
        positions->IndexDefs()->Add(QString(), "Nr", ixPrimary);
        positions->CreateTable();
        positions->Open();
        positions->Append();
        positions->FieldByName("Nr")->SetAsInteger(1);
        positions->FieldByName("Betreff")->SetAsString("Lieferung");
        positions->FieldByName("Tag")->SetAsDateTime(EncodeDate(2026, 12, 7));
        positions->FieldByName("Beginn")->SetAsDateTime(EncodeTime(8, 15, 0, 0));
        positions->FieldByName("Zeitpunkt")->SetAsDateTime(EncodeDate(2026, 12, 7) + EncodeTime(14, 30, 0, 0));
        positions->Post();
        placeOn(new QWidget);
        openGrid();
    }

    std::unique_ptr<QWidget> form;
};

TEST_F(GridOnForm, ARecordViewKeepsItsControlsOutOfTheGrid)
{
    const struct
    {
        const char *form;
        QWidget *(*make)();
        bool embedded;
    } cases[] = {
        {"a plain form", [] { return new QWidget; }, true},
        {"the record view", []() -> QWidget * { return new TqkRecordViewForm; }, false},
        {"a record view of its own", []() -> QWidget * { return new TqkOrderRecordView; }, false},
    };
    for (const auto &formCase : cases) {
        placeOn(formCase.make());
        auto *nameEdit = new TqkDBEdit(form.get());
        nameEdit->setObjectName("nameEdit");
        positions->SetControlType({"Name;CustomEdit;nameEdit"});
        openGrid();
        click(colOf("Name"), 1);
        EXPECT_EQ(grid->CurrentEmbeddedControl() == nameEdit, formCase.embedded) << formCase.form;
        EXPECT_EQ(nameEdit->isVisible(), formCase.embedded) << formCase.form;
    }
}

TEST_F(GridOnForm, TheMemoDialogStaysOnTopWithItsForm)
{
    positions->SetTableName("atrpos");
    for (const bool onTop : {true, false}) {
        auto *newForm = new QWidget;
        newForm->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        placeOn(newForm);
        openGrid();
        click(colOf("Text"), 1);
        QWidget *parent = nullptr;
        bool dialogOnTop = !onTop;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TqkMemoDlg *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            parent = dialog->parentWidget();
            dialogOnTop = dialog->windowFlags() & Qt::WindowStaysOnTopHint;
            dialog->CancelButton()->click();
        });
        key(Qt::Key_F2);
        EXPECT_EQ(parent, form.get()) << "the active form owns the dialog";
        EXPECT_EQ(dialogOnTop, onTop);
    }
}

TEST_F(GridOnForm, DateAndTimeCellsGetThePicker)
{
    openAppointments();
    const struct
    {
        const char *field;
        bool picker;
    } cases[] = {{"Tag", true}, {"Beginn", true}, {"Zeitpunkt", true}, {"Betreff", false}};
    for (const auto &cell : cases) {
        click(colOf(cell.field), 1);
        auto *picker = qobject_cast<TqkDBDateTimePicker *>(grid->CurrentEmbeddedControl());
        EXPECT_EQ(picker && picker->isVisible(), cell.picker) << cell.field;
        if (!picker)
            continue;
        EXPECT_EQ(picker->DataField(), cell.field);
        EXPECT_FALSE(picker->text().isEmpty()) << cell.field;
        EXPECT_TRUE(positions->FieldByName(cell.field)->Text().startsWith(picker->text())) << cell.field;
        EXPECT_EQ(picker->geometry(),
                  grid->CellRect(colOf(cell.field), 1).translated(grid->viewport()->geometry().topLeft()));
    }
}

// Typing into a date or time cell stores what was typed, whatever the cell
// held; a date still impossible at Enter stays in the cell for correcting.
TEST_F(GridOnForm, TypedDatesInCellsAreKeptAsTypedOrRefusedWhole)
{
    services.setNow(QDateTime(QDate(2026, 12, 5), QTime(14, 7, 9)));
    openAppointments();
    for (const typed::DateTyping &c : typed::dateTypings) {
        SCOPED_TRACE(c.what);
        services.clear();
        const QString fieldName = c.time ? "Beginn" : "Tag";
        positions->Edit();
        TField *field = positions->FieldByName(fieldName);
        *c.holding ? field->SetText(QLatin1String(c.holding)) : field->Clear();
        positions->Post();
        click(colOf(fieldName), 1);
        auto *picker = qobject_cast<TqkDBDateTimePicker *>(grid->CurrentEmbeddedControl());
        ASSERT_TRUE(picker);
        if (*c.holding) {
            key(Qt::Key_F2);
            for (int i = 1; i < c.lastField; ++i)
                key(Qt::Key_Right);
            key(Qt::Key_Escape);
        }
        typeText(c.keys);
        key(Qt::Key_Return);
        EXPECT_EQ(services.beeps(), c.beeps);
        EXPECT_EQ(services.messageTexts(), *c.refusal ? QStringList{c.refusal} : QStringList());
        if (*c.refusal) {
            EXPECT_TRUE(picker->hasFocus() && QString(c.refusal).contains("„" + picker->text() + "“"));
            key(Qt::Key_Escape);
            positions->Cancel();
        }
        positions->CheckBrowseMode();
        EXPECT_EQ(reread()->FieldByName(fieldName)->AsString().left(c.time ? 5 : 10).toStdString(), c.kept);
    }
}

TEST_F(GridOnForm, AltDownOnADateCellOpensAndClosesTheCalendar)
{
    placeOn(new QWidget);
    grid->SetUseTFields(false);
    grid->SetSelected({"Name\t20", "Gruendungsdatum\t12"});
    openGrid();
    click(colOf("Gruendungsdatum"), 1);
    auto *picker = qobject_cast<TqkDBDateTimePicker *>(grid->CurrentEmbeddedControl());
    ASSERT_TRUE(picker);
    for (const bool dropped : {true, false}) {
        key(Qt::Key_Down, Qt::AltModifier);
        EXPECT_EQ(picker->IsDroppedDown(), dropped);
        EXPECT_EQ(positions->RecNo(), 1);
    }
    // Enter accepts the day moved to and Escape cancels; neither reaches the grid.
    const struct
    {
        Qt::Key key;
        int moved, kept;
    } closings[] = {{Qt::Key_Return, 1, 1}, {Qt::Key_Escape, 0, 0}, {Qt::Key_Escape, 1, 0}};
    for (const auto &closing : closings) {
        const QDate before = ToQDate(picker->Value().value());
        QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
        for (int i = 0; i < closing.moved; ++i)
            QTest::keyClick(picker, Qt::Key_Right);
        QTest::keyClick(picker, closing.key);
        settle();
        EXPECT_FALSE(picker->IsDroppedDown()) << closing.key;
        EXPECT_EQ(grid->CurrentEmbeddedControl(), picker) << closing.key;
        EXPECT_EQ(ToQDate(picker->Value().value()), before.addDays(closing.kept)) << closing.key;
    }
}

// The focus going to the grid's picker, to a box it asks, to the memo dialog
// or the rich text window it opens, or to no window at all, keeps the new
// record; another control or window is a leave and drops it untouched.
TEST_F(GridOnForm, OnlyAnotherControlOrWindowLeavesTheNewRecord)
{
    enum Then { Stay, OtherControl, OtherWindow, NoWindow };
    const struct
    {
        const char *what, *table, *field;
        QKeyCombination open; // a box or window, which takes the typing and the closing key
        const char *typed;
        QKeyCombination close;
        Then then;
        const char *kept; // what the new record holds afterwards; null: it is gone
    } cases[] = {
        {"picker", "Kunden", "Gruendungsdatum", {}, "15.03.2021", Qt::Key_Return, Stay, "15.03.2021"},
        {"delete question", "atrpos", "Bezeichnung", Qt::CTRL | Qt::Key_Delete, "", Qt::Key_Return, Stay, nullptr},
        {"memo dialog", "atrpos", "Text", Qt::Key_F2, "Zusatz", Qt::Key_F2, Stay, "Zusatz"},
        {"rich text window", "Kunden", "Bemerkung", Qt::Key_F2, "Neukunde", Qt::CTRL | Qt::Key_S, Stay, "Neukunde"},
        {"no window active", "Kunden", "Name", {}, "", {}, NoWindow, ""},
        {"from the picker to a control", "Kunden", "Gruendungsdatum", {}, "", {}, OtherControl, nullptr},
        {"another window", "Kunden", "Name", {}, "", {}, OtherWindow, nullptr},
    };
    QWidget otherWindow;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        placeOn(new QWidget);
        positions->SetTableName(c.table);
        auto *otherControl = new QLineEdit(form.get());
        otherControl->move(0, 360);
        otherControl->show();
        (new TqkDBRichEdit(form.get()))->setObjectName("bemerkungRich");
        positions->SetControlType({"Bemerkung;RichEdit;bemerkungRich"});
        openGrid();
        key(Qt::Key_End, Qt::ControlModifier);
        grid->SelectColumn(colOf(c.field) - grid->IndicatorOffset());
        key(Qt::Key_Down);
        const int stored = reread()->RecordCount();
        const auto typeAndClose = [&] {
            typeText(c.typed);
            key(c.close.key(), c.close.keyboardModifiers());
        };
        if (c.open.key() != Qt::Key_unknown) {
            ui::installServices(nullptr);
            QTimer::singleShot(0, [&] {
                QApplication::setActiveWindow(QApplication::activeModalWidget());
                typeAndClose();
            });
            key(c.open.key(), c.open.keyboardModifiers());
            ui::installServices(&services);
        } else if (c.close.key() != Qt::Key_unknown) {
            typeAndClose();
        }
        if (c.then == OtherControl) {
            QTest::mouseClick(grid->CurrentEmbeddedControl(), Qt::LeftButton);
            ASSERT_EQ(positions->State(), dsInsert) << "the picker took the focus";
        }
        QWidget *window = c.then == OtherWindow ? &otherWindow : form.get();
        window->show();
        QApplication::setActiveWindow(c.then == NoWindow ? nullptr : window);
        QApplication::setActiveWindow(window);
        (c.then == OtherControl ? otherControl : c.then == OtherWindow ? window : grid.get())->setFocus();
        settle();
        EXPECT_EQ(positions->State() == dsInsert, c.kept != nullptr);
        if (c.kept) {
            EXPECT_TRUE(positions->FieldByName(c.field)->AsString().contains(QLatin1String(c.kept)));
        }
        EXPECT_EQ(reread()->RecordCount(), stored);
        otherWindow.hide();
        positions->Cancel();
    }
}

#include "GridFormsTest.moc"
