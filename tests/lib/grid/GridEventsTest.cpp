#include "GridTables.h"

#include "demo/tables/DemoTables.h"
#include "lib/grid/qkInplaceEdit.h"
#include "platform/db/FieldClasses.h"
#include "platform/runtime/DateTime.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

struct CellEventCase
{
    const char *name;
    int colStep;
    int rowStep;
    bool byKey;
};

}

// Every move of the current cell, by click or key, tells OnCellChanged once;
// OnRowChanged only when the record changes.
TEST_F(GridTables, EachCellMoveFiresCellChangedOnce)
{
    int cellChanges = 0;
    int rowChanges = 0;
    int colEnters = 0;
    grid->OnCellChanged = [&](QObject *) { ++cellChanges; };
    grid->OnRowChanged = [&](QObject *) { ++rowChanges; };
    grid->OnColEnter = [&](QObject *) { ++colEnters; };
    openGrid();
    const CellEventCase cases[] = {
        {"click on another row and column", 1, 1, false},
        {"click on another column", 1, 0, false},
        {"click on another row", 0, 2, false},
        {"Right", 1, 0, true},
        {"Down", 0, 1, true},
    };
    for (const CellEventCase &move : cases) {
        SCOPED_TRACE(move.name);
        const int cells = cellChanges;
        const int rows = rowChanges;
        const int enters = colEnters;
        if (move.byKey)
            key(move.colStep ? Qt::Key_Right : Qt::Key_Down);
        else
            click(grid->Col() + move.colStep, grid->Row() + move.rowStep);
        EXPECT_EQ(cellChanges - cells, 1);
        EXPECT_EQ(rowChanges - rows, move.rowStep ? 1 : 0);
        EXPECT_EQ(colEnters - enters, move.colStep ? 1 : 0);
    }
    const int cells = cellChanges;
    click(grid->Col(), grid->Row());
    EXPECT_EQ(cellChanges, cells) << "a click on the current cell moves nothing";
    key(Qt::Key_Escape);
    key(Qt::Key_End);
    const int atLast = cellChanges;
    const int entersAtLast = colEnters;
    key(Qt::Key_Right);
    key(Qt::Key_Left, Qt::ControlModifier);
    key(Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(cellChanges - atLast, 1) << "Right at the last and Left at the first column move nothing";
    EXPECT_EQ(colEnters - entersAtLast, 1);
}

TEST_F(GridTables, OnlyAResizableTitleEdgeSizesItsColumn)
{
    QList<int> resized;
    grid->OnColWidthChanged = [&](QObject *, int col) { resized.append(col); };
    openGrid();
    const int col = colOf("Bezeichnung");
    const auto dragEdge = [&] {
        const QRect title = grid->CellRect(col, 0);
        const QPoint edge(title.right() + 1, title.center().y());
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, edge);
        QTest::mouseMove(grid->viewport(), edge + QPoint(30, 0));
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
        settle();
    };
    const int width = grid->ColWidths(col);
    const int w0 = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char('0'));
    const int chars = (width + 30 + w0 / 2 - 7) / w0;
    dragEdge();
    EXPECT_EQ(grid->GetFields(col - 1)->DisplayWidth(), chars);
    EXPECT_EQ(grid->ColWidths(col), chars * w0 + 4);
    EXPECT_EQ(grid->GetFields(0)->DisplayWidth(), 10) << "the other columns keep their widths";
    EXPECT_EQ(resized, QList<int>{col}) << "the resized column, not the current one (" << grid->Col() << ")";

    grid->SetOptions(grid->Options() & ~dgColumnResize);
    TField *sized = grid->GetFields(col - 1);
    dragEdge();
    EXPECT_EQ(sized->DisplayWidth(), chars) << "the drag moved the column instead";
    EXPECT_EQ(resized.size(), 1);
}

TEST_F(GridTables, FontChangesLayTheGridOutAgain)
{
    QWidget form;
    grid->setParent(&form);
    openGrid();
    const int rowHeight = grid->DefaultRowHeight();
    const int titleHeight = grid->RowHeights(0);

    QFont large = form.font();
    large.setPointSize(large.pointSize() * 2);
    form.setFont(large);
    settle();
    EXPECT_EQ(grid->TitleFont().pointSize(), large.pointSize()) << "the title font follows the parent's";
    EXPECT_GT(grid->DefaultRowHeight(), rowHeight);
    EXPECT_GT(grid->RowHeights(0), titleHeight);

    QFont titleFont = large;
    titleFont.setPointSize(large.pointSize() / 2);
    grid->SetTitleFont(titleFont);
    EXPECT_EQ(grid->RowHeights(0), QFontMetrics(titleFont).height() + 4);
    form.setFont(QFont(large.family(), large.pointSize() + 4));
    settle();
    EXPECT_EQ(grid->TitleFont().pointSize(), titleFont.pointSize()) << "a title font of its own stays";

    QFont small = grid->font();
    small.setPointSize(6);
    grid->setFont(small);
    settle();
    EXPECT_EQ(grid->DefaultRowHeight(), QFontMetrics(small).height() + 2 + 1);
    grid->setParent(nullptr);
}

TEST_F(GridTables, TheEditorChecksTheFieldsTextOnEntryAndAfterDelete)
{
    positions->SetPictureMasks({"Einheit\t###\tT\tT"});
    QList<bool> checks;
    grid->OnCheckValue = [&](QObject *, bool passes) { checks.append(passes); };
    openGrid();
    positions->Edit();
    positions->FieldByName("Einheit")->SetText("123");
    positions->Post();
    click(colOf("Einheit"), 1);
    click(colOf("Einheit"), 1);
    auto *editor = qobject_cast<TqkInplaceEdit *>(grid->InplaceEditor());
    ASSERT_TRUE(editor && editor->hasFocus());
    EXPECT_EQ(checks, QList<bool>{true}) << "the field's text on entry";
    checks.clear();
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    EXPECT_EQ(editor->text(), "23");
    EXPECT_EQ(checks, QList<bool>{false}) << "two digits do not fill the picture";
}

TEST_F(GridTables, ATypedDateKeepsTheTimeOfDay)
{
    demo::writeTable("MailAusgang.db", dir.path());
    positions->SetTableName("MailAusgang");
    grid->SetEditControlOptions(ecoDisableDateTimePicker | ecoSearchOwnerForm);
    grid->SetUseTFields(false);
    grid->SetSelected({"Betreff\t20", "GesendetAm\t20"});
    openGrid();
    positions->First();
    if (positions->IsEmpty()) {
        positions->Append();
        positions->FieldByName("LfdNr")->SetAsInteger(1);
    } else {
        positions->Edit();
    }
    positions->FieldByName("GesendetAm")->SetAsDateTime(EncodeDate(2026, 3, 4) + EncodeTime(14, 30, 0, 0));
    positions->Post();
    settle();
    click(colOf("GesendetAm"), 1);
    key(Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<TqkInplaceEdit *>(editor));
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    typeText("05.03.2026");
    key(Qt::Key_Return);
    positions->CheckBrowseMode();
    EXPECT_DOUBLE_EQ(positions->FieldByName("GesendetAm")->AsDateTime(),
                     EncodeDate(2026, 3, 5) + EncodeTime(14, 30, 0, 0));
}

// The current cell alone is highlighted, however it was reached.
TEST_F(GridTables, OnlyTheCurrentCellIsHighlighted)
{
    openGrid();
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    const auto highlighted = [&](const QImage &image, int col, int row) {
        return image.pixelColor(grid->CellRect(col, row).topLeft() + QPoint(1, 1)) == highlight;
    };
    for (const Qt::Key move : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home, Qt::Key_Right}) {
        key(move);
        const QImage image = shot();
        int lit = 0;
        for (int col = 1; col < grid->ColCount(); ++col)
            if (!grid->CellRect(col, grid->Row()).isEmpty() && highlighted(image, col, grid->Row()))
                ++lit;
        EXPECT_TRUE(highlighted(image, grid->Col(), grid->Row())) << QTest::toString(move);
        EXPECT_EQ(lit, 1) << QTest::toString(move);
    }
}

TEST_F(GridTables, TheCurrentCellShowsInASelectedRow)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    openGrid();
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    grid->SelectRecord();
    const QImage image = shot();
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    const auto framed = [&](int col) {
        const QRect cell = grid->CellRect(col, grid->Row());
        int other = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            if (image.pixelColor(cell.left(), y) != highlight)
                ++other;
        return other;
    };
    EXPECT_GT(framed(grid->Col()), 2) << "a dotted frame on the current cell";
    EXPECT_EQ(framed(grid->Col() + 1), 0) << "the rest of the row is plainly highlighted";
}

TEST_F(GridTables, TheFooterBandStaysAboveTheScrollBar)
{
    grid->SetOptions(grid->Options() | dgShowFooter | dgFooter3DCells);
    openGrid();
    grid->resize(300, 320);
    settle();
    ASSERT_TRUE(grid->horizontalScrollBar()->isVisible());
    const QWidget *band = nullptr;
    for (const QWidget *child : grid->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (child->metaObject()->className() == QByteArray("TqkGridFooter"))
            band = child;
    ASSERT_TRUE(band && band->isVisible());
    EXPECT_EQ(band->geometry().top(), grid->viewport()->geometry().bottom() + 1);
    EXPECT_LT(band->geometry().bottom(), grid->horizontalScrollBar()->mapTo(grid.get(), QPoint(0, 0)).y());
    EXPECT_EQ(band->height(), grid->DefaultRowHeight() + 4 + 2);

    grid->SetShowHorzScrollBar(false);
    settle();
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_EQ(band->geometry().top(), grid->viewport()->geometry().bottom() + 1) << "the band moves down with the rows";
    grid->SetShowHorzScrollBar(true);
    grid->resize(3000, 320);
    settle();
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible()) << "all columns fit";
}

TEST_F(GridTables, TheThumbJumpsToItsRecordInOneMove)
{
    QTemporaryDir large;
    demo::writePositionTable(large.path(), 2000);
    positions->SetDatabaseName(large.path());
    int topRowChanges = 0;
    grid->OnTopRowChanged = [&](QObject *) { ++topRowChanges; };
    openGrid();
    QScrollBar *bar = grid->verticalScrollBar();
    const int count = positions->RecordCount();
    for (const int position : {100, 180, 0, 200}) {
        topRowChanges = 0;
        bar->setSliderPosition(position);
        bar->triggerAction(QAbstractSlider::SliderMove);
        settle();
        const int expected = position == 0 ? 1 : position == 200 ? count : count * position / 200 + 1;
        EXPECT_EQ(positions->RecNo(), expected) << position;
        EXPECT_LE(topRowChanges, 1) << "one jump, not a walk";
        EXPECT_EQ(bar->value(), position == 0 || position == 200 ? position : (expected - 1) * 200 / (count - 1));
    }

    positions->First();
    settle();
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    ASSERT_FALSE(thumb.isEmpty());
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
    for (const int step : {20, 40, 60}) {
        QTest::mouseMove(bar, thumb.center() + QPoint(0, step));
        settle();
    }
    EXPECT_EQ(positions->RecNo(), 1) << "dragging the thumb reads nothing yet";
    topRowChanges = 0;
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb.center() + QPoint(0, 60));
    settle();
    EXPECT_GT(positions->RecNo(), 1) << "the drop jumps";
    EXPECT_EQ(positions->RecNo(), count * bar->value() / 200 + 1);
    EXPECT_LE(topRowChanges, 1);
}

// Faults planted in the grid must show here: the source getter, the
// buffer of at least one row, the clamped column, the title-button click.
TEST_F(GridTables, TheGridKeepsItsBasicPromises)
{
    openGrid();
    EXPECT_EQ(grid->DataSource(), source.get());

    const int last = grid->ColCount() - 1;
    const struct
    {
        int target;
        int expected;
    } columns[] = {{99, last}, {-5, 1}, {2, 3}};
    for (const auto &column : columns) {
        grid->SelectColumn(column.target);
        EXPECT_EQ(grid->Col(), column.expected) << column.target;
    }
    grid->SetFixedCols(2);
    grid->SelectColumn(0);
    EXPECT_EQ(grid->Col(), 3) << "not into the fixed columns";
    grid->SetFixedCols(0);

    grid->resize(grid->width(), grid->RowHeights(0) + 4 + 2 * grid->frameWidth());
    settle();
    ASSERT_EQ(grid->VisibleRowCount(), 0);
    EXPECT_GE(grid->DataLink()->BufferCount(), 1);
    key(Qt::Key_Down);
    EXPECT_EQ(positions->RecNo(), 2) << "a grid with no room for a row still moves";
    EXPECT_EQ(grid->DataLink()->RecordCount(), 1);
}

TEST_F(GridTables, OnlyAReleaseOverThePressedTitleIsAClick)
{
    QStringList clicked;
    grid->OnTitleButtonClick = [&](QObject *, const QString &fieldName) { clicked.append(fieldName); };
    openGrid();
    const QPoint first = grid->CellRect(1, 0).center();
    const struct
    {
        const char *name;
        bool buttons;
        QPoint release;
        int clicks;
    } releases[] = {
        {"buttons off", false, first, 0},
        {"same title", true, first, 1},
        {"below the title row", true, grid->CellRect(1, 2).center(), 0},
        {"above the grid", true, QPoint(first.x(), -5), 0},
    };
    for (const auto &release : releases) {
        clicked.clear();
        grid->SetTitleButtons(release.buttons);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, release.release);
        settle();
        EXPECT_EQ(clicked.size(), release.clicks) << release.name;
    }
}

TEST_F(GridTables, AnEmptyTablePaintsNoRows)
{
    positions->Open();
    while (!positions->IsEmpty())
        positions->Delete();
    openGrid();
    const QImage image = shot();
    EXPECT_EQ(grid->RowCount(), grid->TitleOffset() + 1);
    EXPECT_EQ(inkIn(image, grid->CellRect(colOf("Bezeichnung"), 1)), 0.0);
}

TEST_F(GridTables, ADraggedTitleScrollsPastTheEdgeAndDropsThere)
{
    QList<int> leftCols;
    QList<QPair<int, int>> moves;
    grid->OnLeftColChanged = [&](QObject *, int col) { leftCols.append(col); };
    grid->OnColumnMoved = [&](QObject *, int from, int to) { moves.append({from, to}); };
    grid->resize(500, 320);
    openGrid();
    const QString dragged = grid->GetFields(0)->FieldName();
    const QPoint title = grid->CellRect(1, 0).center();
    const QPoint edge(grid->viewport()->width() - 2, title.y());
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, title);
    QTest::mouseMove(grid->viewport(), title + QPoint(10, 0));
    QTest::mouseMove(grid->viewport(), edge);
    QTest::qWait(350);
    ASSERT_FALSE(leftCols.isEmpty()) << "the grid scrolls while the column is held past the edge";
    EXPECT_EQ(leftCols.last(), grid->LeftCol());
    const int under = grid->MouseCoord(edge.x(), edge.y()).x();
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, edge);
    settle();
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(moves.first(), qMakePair(0, grid->RawToDataCol(under)));
    EXPECT_EQ(grid->GetFields(grid->RawToDataCol(under))->FieldName(), dragged);
}

TEST_F(GridTables, TheFooterFollowsTheMasterRecord)
{
    demo::writeTable("Auftrag.db", dir.path());
    TqkTable orders;
    orders.SetDatabaseName(dir.path());
    orders.SetTableName("Auftrag");
    orders.Open();
    TqkDataSource orderSource;
    orderSource.SetDataSet(&orders);
    positions->SetMasterSource(&orderSource);
    positions->SetMasterFields("auftragnr");
    int footerUpdates = 0;
    grid->OnUpdateFooter = [&](QObject *) { ++footerUpdates; };
    openGrid();
    EXPECT_EQ(footerUpdates, 1);
    orders.Next();
    settle();
    EXPECT_EQ(footerUpdates, 2) << "another order, other sums";
    key(Qt::Key_Down);
    EXPECT_EQ(footerUpdates, 2) << "another position of the same order";
    positions->SetMasterSource(nullptr);
}
