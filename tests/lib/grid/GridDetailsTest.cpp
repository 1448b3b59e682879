#include "GridTables.h"

#include "lib/grid/qkGridPictures.h"
#include "lib/grid/qkImageList.h"
#include "lib/grid/qkInplaceEdit.h"
#include "lib/grid/qkMemoDialog.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Letters are refused as they are typed; thousands points are taken where
// they group the digits, as the grid shows them, and refused elsewhere.
TEST_F(GridTables, ANumberCellTakesItsThousandsPointsAndRefusesLettersAsTheyAreTyped)
{
    const struct
    {
        const char *typed, *shown;
        double kept; // 0: the value before
        int beeps;
    } cases[] = {{"1a2,5x", "12,5", 12.5, 2},
                 {"1.234,5", "1.234,5", 1234.5, 0},
                 {"12.345.678", "12.345.678", 12345678, 0},
                 {"1.2", "1.2", 0, 0}};
    openGrid();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        services.clear();
        const double before = reread()->FieldByName("menge")->AsFloat();
        click(colOf("menge"), 1);
        typeText(c.typed);
        auto *editor = qobject_cast<TqkInplaceEdit *>(grid->InplaceEditor());
        ASSERT_TRUE(editor);
        EXPECT_EQ(editor->text(), c.shown);
        EXPECT_EQ(services.beeps(), c.beeps);
        key(Qt::Key_Down);
        EXPECT_EQ(services.messageTexts().join(""),
                  c.kept ? "" : QString("'%1' ist kein gültiger Gleitkommawert.").arg(c.typed));
        key(Qt::Key_Escape);
        key(Qt::Key_Escape);
        EXPECT_EQ(reread()->FieldByName("menge")->AsFloat(), c.kept ? c.kept : before);
    }
}

// A number wider than its column is set smaller or marked cut, never
// clipped to the number its last digits make; the editor shows it whole.
TEST_F(GridTables, ANumberTooWideForItsCellIsNeverShownAsAnotherNumber)
{
    openGrid();
    TField *number = positions->FieldByName("posnr");
    number->SetDisplayLabel("P");
    const auto cellOf = [&](int value) {
        positions->Edit();
        number->SetAsInteger(value);
        positions->Post();
        return shot().copy(grid->CellRect(colOf("posnr"), grid->Row()));
    };
    const struct
    {
        int width, value, clipped;
    } cases[] = {{4, 32767, 2767}, {4, -32768, 2768}, {2, 32767, 67}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        number->SetDisplayWidth(c.width);
        EXPECT_NE(cellOf(c.value), cellOf(c.clipped));
        cellOf(c.value);
        click(colOf("posnr"), grid->Row());
        key(Qt::Key_F2);
        auto *editor = qobject_cast<TqkInplaceEdit *>(grid->InplaceEditor());
        ASSERT_TRUE(editor && editor->isVisible());
        EXPECT_EQ(editor->cursorPositionAt(QPoint(1, editor->height() / 2)), 0) << "shown from its start";
        key(Qt::Key_Escape);
    }
}

TEST_F(GridTables, AnInsertedRecordMovesTheRowsBelowDown)
{
    openGrid();
    const auto rowTexts = [&](int rows) {
        QStringList texts;
        for (int row = 0; row < rows; ++row) {
            grid->DataLink()->SetActiveRecord(row);
            texts.append(positions->FieldByName("Bezeichnung")->Text());
        }
        grid->DataLink()->SetActiveRecord(grid->Row() - 1);
        return texts;
    };
    const QStringList before = rowTexts(4);
    const int count = positions->RecordCount();
    click(colOf("Bezeichnung"), 3);
    key(Qt::Key_Insert);
    EXPECT_EQ(rowTexts(5), QStringList({before[0], before[1], QString(), before[2], before[3]}));
    key(Qt::Key_Escape);
    EXPECT_EQ(rowTexts(4), before) << "cancelled, the rows are as they were";
    key(Qt::Key_Insert);
    typeText("Neu");
    key(Qt::Key_Down);
    EXPECT_EQ(reread()->RecordCount(), count + 1);
}

TEST_F(GridTables, DraggingOverTheRowsMovesTheCurrentCellAndPastThemScrolls)
{
    openGrid();
    const int col = colOf("Bezeichnung");
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(col, 1).center());
    QTest::mouseMove(grid->viewport(), grid->CellRect(col + 1, 4).center());
    EXPECT_EQ(positions->RecNo(), 4);
    EXPECT_EQ(grid->Col(), col + 1);
    QTest::mouseMove(grid->viewport(), QPoint(40, 2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return positions->RecNo() == 1; })) << "above the rows";
    const QPoint below(40, grid->viewport()->height() + 5);
    QTest::mouseMove(grid->viewport(), below);
    EXPECT_TRUE(QTest::qWaitFor([&] { return positions->RecNo() > grid->VisibleRowCount(); })) << "below them";
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, below);
    const int released = positions->RecNo();
    QTest::qWait(200);
    EXPECT_EQ(positions->RecNo(), released) << "the release ends the scrolling";
}

TEST_F(GridTables, ADraggedTitleScrollsOnlyTheWayItMovesAndNotPastTheLastColumn)
{
    grid->resize(500, 320);
    openGrid();
    const QPoint title = grid->CellRect(1, 0).center();
    const QPoint edge(grid->viewport()->width() - 4, title.y());
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, title);
    for (const QPoint &from : {title + QPoint(10, 0), edge}) {
        QTest::mouseMove(grid->viewport(), from);
        QTest::mouseMove(grid->viewport(), from == edge ? edge - QPoint(3, 0) : from + QPoint(10, 0));
        QTest::qWait(250);
        EXPECT_EQ(grid->LeftCol(), 1) << "moving right inside the grid, or left past its edge";
    }
    QTest::mouseMove(grid->viewport(), edge);
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid->LeftCol() + grid->VisibleColCount() >= grid->ColCount(); }));
    const int lastInView = grid->LeftCol();
    QTest::qWait(250);
    EXPECT_EQ(grid->LeftCol(), lastInView) << "no further once the last column shows";
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, edge);
}

TEST_F(GridTables, TheRecordBeingEditedCountsAsNotSelected)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    openGrid();
    click(colOf("Bezeichnung"), 1, Qt::ControlModifier);
    click(colOf("Bezeichnung"), 2, Qt::ControlModifier);
    typeText("x");
    ASSERT_EQ(positions->State(), dsEdit);
    EXPECT_FALSE(grid->IsSelected());
    EXPECT_FALSE(grid->IsSelectedRow(0)) << "while a record is edited no row shows selected";
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    const QImage editing = shot();
    for (int row : {1, 2})
        EXPECT_NE(editing.pixelColor(grid->CellRect(colOf("menge"), row).topLeft() + QPoint(1, 1)), highlight) << row;
    key(Qt::Key_Return);
    key(Qt::Key_Up);
    key(Qt::Key_Down);
    EXPECT_TRUE(grid->IsSelected()) << "selected again once posted";
}

TEST_F(GridTables, TheColumnMapRefusesColumnsBeyondItsLimit)
{
    openGrid();
    while (grid->GetFieldCount() < TqkGridDataLink::MaxMapSize)
        grid->DataLink()->AddMapping("posnr");
    try {
        grid->DataLink()->AddMapping("posnr");
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperation &error) {
        EXPECT_EQ(error.Message(), "Gitter soll mehr als 256 Spalten darstellen");
    }
    grid->LayoutChanged();
}

// Without the indicator the first data column is grid column 0; a read-only one is no tab stop.
TEST_F(GridTables, TabSkipsAReadOnlyFirstColumn)
{
    grid->SetOptions(grid->Options() & ~dgIndicator);
    positions->Open();
    positions->FieldByName("auftragnr")->SetReadOnly(true);
    openGrid();
    key(Qt::Key_End);
    key(Qt::Key_Tab);
    EXPECT_EQ(positions->RecNo(), 2);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(GridTables, TheEditorHandsLeftAndRightToTheGridOnlyAtItsEnds)
{
    openGrid();
    const int col = colOf("Bezeichnung");
    const int last = grid->ColCount() - 1;
    // With Ctrl the grid goes to the last or the first column; -1: the caret at the end.
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int caret;
        int colAfter;
        int caretAfter;
    } cases[] = {
        {Qt::Key_Right, {}, -1, col + 1, -1},
        {Qt::Key_Right, {}, 2, col, 3},
        {Qt::Key_Right, Qt::ControlModifier, 2, last, -1},
        {Qt::Key_Left, {}, 0, col - 1, -1},
        {Qt::Key_Left, {}, 2, col, 1},
        {Qt::Key_Left, Qt::ControlModifier, 2, 1, -1},
    };
    for (const auto &c : cases) {
        click(col, 1);
        key(Qt::Key_F2);
        auto *editor = qobject_cast<TqkInplaceEdit *>(grid->InplaceEditor());
        ASSERT_TRUE(editor && editor->hasFocus());
        editor->setCursorPosition(c.caret < 0 ? int(editor->text().size()) : c.caret);
        key(c.key, c.modifiers);
        EXPECT_EQ(grid->Col(), c.colAfter) << c.key << " at " << c.caret;
        EXPECT_TRUE(c.caretAfter < 0 || editor->cursorPosition() == c.caretAfter) << c.key << " at " << c.caret;
        key(Qt::Key_Escape);
    }
}

TEST_F(GridTables, TheImageListScalesToItsSizeAndAnswersTheIndex)
{
    TImageList images(12, 8);
    const QSize sizes[] = {{12, 8}, {30, 30}, {4, 2}};
    for (int index = 0; index < 3; ++index) {
        QImage image(sizes[index], QImage::Format_RGB32);
        image.fill(Qt::red);
        EXPECT_EQ(images.Add(image), index);
        EXPECT_EQ(images.Image(index).size(), QSize(12, 8)) << index;
    }
}

// Fit Height and Fit Width draw nothing into a cell where 2 pixels or less are left.
TEST_F(GridTables, AFittedBitmapNeedsMoreThanTwoPixels)
{
    const struct
    {
        const char *fit;
        QSize bitmap;
        QSize cell;
        bool drawn;
    } cases[] = {
        {"Fit Height", {10, 10}, {20, 3}, true},  {"Fit Height", {40, 10}, {20, 2}, false},
        {"Fit Height", {2, 10}, {20, 10}, false}, {"Fit Height", {3, 10}, {20, 10}, true},
        {"Fit Width", {10, 10}, {3, 20}, true},   {"Fit Width", {10, 40}, {2, 20}, false},
        {"Fit Width", {10, 2}, {10, 20}, false},  {"Fit Width", {10, 3}, {10, 20}, true},
    };
    for (const auto &c : cases) {
        QImage bitmap(c.bitmap, QImage::Format_RGB32);
        bitmap.fill(Qt::red);
        QImage cell(c.cell, QImage::Format_RGB32);
        QPainter painter(&cell);
        gridpictures::drawBitmapCell(painter, cell.rect(), Qt::white, bitmap, c.fit, "Source Copy");
        painter.end();
        EXPECT_EQ(cell.pixel(1, 0) == QColor(Qt::red).rgb(), c.drawn) << c.fit << " " << c.bitmap.width();
    }
}

TEST_F(GridTables, TheMemoDialogSizesAndPlacesAsItsPropertiesSay)
{
    openGrid();
    const struct
    {
        int attributes;
        int left;
        int top;
        QSize size;
        bool sizeable;
        bool okCentred;
    } cases[] = {
        {mSizeable | mWordWrap, 0, 0, {400, 300}, true, false},
        {mWordWrap, 0, 0, {561, 396}, false, false},
        {mViewOnly, -1, 0, {561, 395}, false, true},
        {mViewOnly | mSizeable, 0, 60, {450, 320}, true, true},
    };
    for (const auto &c : cases) {
        TqkMemoDialog memo;
        memo.SetDataSource(source.get());
        memo.SetDataField("Text");
        memo.SetMemoAttributes(c.attributes);
        memo.SetDlgLeft(c.left);
        memo.SetDlgTop(c.top);
        memo.SetDlgWidth(c.left < 0 ? 561 : c.size.width());
        memo.SetDlgHeight(c.left < 0 ? 396 : c.size.height());
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TqkMemoDlg *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->size(), c.size) << c.attributes;
            EXPECT_EQ(dialog->windowTitle(), "") << "no caption of its own";
            EXPECT_EQ(dialog->minimumSize() != dialog->maximumSize(), c.sizeable) << c.attributes;
            EXPECT_EQ(dialog->geometry().top() == c.top, c.top > 0) << c.attributes;
            const int okMiddle = dialog->OkButton()->geometry().center().x();
            EXPECT_EQ(std::abs(okMiddle - dialog->Memo()->geometry().center().x()) <= 1, c.okCentred) << c.attributes;
            QTest::keyClick(dialog->Memo(), Qt::Key_F2);
        });
        EXPECT_TRUE(memo.Execute());
    }
}
