#include "GridTables.h"

#include "demo/tables/DemoTables.h"
#include "lib/edit/qkdbdatetimepicker.h"
#include "lib/edit/qkdbedit.h"
#include "lib/grid/qkInplaceEdit.h"
#include "lib/grid/qkMemoDialog.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TTable.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

int zeroWidth(const QWidget &widget)
{
    return QFontMetrics(widget.font()).horizontalAdvance(QLatin1Char('0'));
}

}

TEST_F(GridTables, ColumnsComeFromFieldsOrStoredLayout)
{
    openGrid();
    EXPECT_EQ(grid->ColCount(), 1 + positions->FieldCount());

    grid->SetUseTFields(false);
    grid->SetSelected({"Artikelnr\t10", "Fehlt\t5", "Bezeichnung\t3\tArtikel~Langbezeichnung\tT"});
    EXPECT_EQ(grid->Selected().size(), 2) << "a line of a missing field is dropped";
    ASSERT_EQ(grid->ColCount(), 3);
    const int w0 = zeroWidth(*grid);
    EXPECT_EQ(grid->ColWidths(1), 10 * w0 + 4);
    const int titleWidth = QFontMetrics(grid->TitleFont()).horizontalAdvance("Langbezeichnung") + 4;
    EXPECT_EQ(grid->ColWidths(2), std::max(3 * w0 + 4, titleWidth)) << "the widest title line";
    EXPECT_FALSE(grid->TabStops(2));
    EXPECT_TRUE(grid->GetColumn("bezeichnung")->GetReadOnly());
    EXPECT_FALSE(grid->GetColumn("Fehlt")->GetReadOnly());
    grid->SetTitleLines(3);
    EXPECT_EQ(grid->RowHeights(0), QFontMetrics(grid->TitleFont()).height() * 3 + 4);
    EXPECT_GT(inkIn(shot(), grid->CellRect(2, 0).adjusted(0, grid->RowHeights(0) / 2, 0, 0)), 0.01)
        << "the second title line below the middle";
    grid->SetTitleLines(1);

    const QRect title = grid->CellRect(1, 0);
    const QPoint edge(title.right() + 1, title.center().y());
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(grid->viewport(), edge + QPoint(2 * w0, 0));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, edge + QPoint(2 * w0, 0));
    EXPECT_EQ(grid->Selected().first(), "Artikelnr\t12\t") << "the width written back in characters";
    EXPECT_GT(inkIn(shot(), grid->CellRect(1, 0)), 0.02) << "an empty title token shows the field's label";

    grid->SetSelected({});
    EXPECT_EQ(grid->ColCount(), 2) << "one empty data column";

    grid->SetUseTFields(true);
    const int col = 1;
    const QRect first = grid->CellRect(col, 0);
    const QPoint from(first.right() + 1, first.center().y());
    const QPoint to = from + QPoint(7 + 8 * w0 - w0 / 2 - grid->ColWidths(col), 0);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(grid->viewport(), to);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(grid->GetFields(0)->DisplayWidth(), 8) << "the field keeps the width in characters";
}

TEST_F(GridTables, ScrollBarShowsThePositionInTheTable)
{
    openGrid();
    QScrollBar *bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 200);
    EXPECT_EQ(bar->value(), 0);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 200);
    positions->SetRecNo(31);
    EXPECT_EQ(bar->value(), 30 * 200 / (positions->RecordCount() - 1));
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(positions->RecNo(), 1);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(GridTables, KeysMoveThroughRecordsAndAppendAtTheEnd)
{
    grid->resize(600, 320);
    openGrid();
    const int count = positions->RecordCount();
    key(Qt::Key_Down);
    EXPECT_EQ(positions->RecNo(), 2);
    EXPECT_EQ(grid->Row(), 2);
    key(Qt::Key_PageDown);
    EXPECT_EQ(positions->RecNo(), 2 + grid->VisibleRowCount());
    key(Qt::Key_End);
    EXPECT_EQ(grid->Col(), grid->ColCount() - 1);
    EXPECT_GT(grid->LeftCol(), 1) << "scrolled by whole columns";
    EXPECT_FALSE(grid->CellRect(grid->Col(), grid->Row()).isEmpty());
    EXPECT_EQ(grid->horizontalScrollBar()->value(), grid->LeftCol() - grid->FixedColCount());
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(positions->RecNo(), 1);
    key(Qt::Key_Up);
    EXPECT_EQ(positions->RecNo(), 1) << "nothing before the first record";

    key(Qt::Key_End, Qt::ControlModifier);
    const QString last = positions->FieldByName("Bezeichnung")->Text();
    key(Qt::Key_Down);
    EXPECT_EQ(positions->State(), dsInsert) << "Down on the last record appends";
    grid->DataLink()->SetActiveRecord(grid->Row() - 2);
    EXPECT_EQ(positions->FieldByName("Bezeichnung")->Text(), last) << "below the last record";
    grid->DataLink()->SetActiveRecord(grid->Row() - 1);
    key(Qt::Key_Up);
    EXPECT_EQ(positions->State(), dsBrowse) << "an untouched new record is dropped";
    EXPECT_EQ(positions->RecordCount(), count);
    EXPECT_EQ(positions->RecNo(), count) << "on the last record, which stood above it";

    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Insert);
    key(Qt::Key_Up);
    EXPECT_EQ(positions->RecNo(), 2) << "an untouched record inserted between others is dropped";
    EXPECT_EQ(positions->RecordCount(), count);

    grid->SetReadOnly(true);
    key(Qt::Key_Down);
    EXPECT_EQ(positions->State(), dsBrowse) << "a read-only grid appends nothing";
}

TEST_F(GridTables, DeletingAsksFirst)
{
    openGrid();
    const int count = positions->RecordCount();
    const QString first = positions->FieldByName("Bezeichnung")->Text();
    services.queueAnswer(ui::IDCANCEL);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(services.messageTexts(), QStringList{"Datensatz löschen?"});
    EXPECT_EQ(positions->RecordCount(), count);
    services.queueAnswer(ui::IDOK);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(positions->RecordCount(), count - 1);
    EXPECT_NE(positions->FieldByName("Bezeichnung")->Text(), first);
}

TEST_F(GridTables, TypingEditsTheCellThroughItsPicture)
{
    positions->SetPictureMasks({"Einheit\t###\tT\tT"});
    QStringList changedFields;
    grid->OnFieldChanged = [&](QObject *, TField *field) { changedFields.append(field->FieldName()); };
    openGrid();
    click(colOf("Einheit"), 1);
    typeText("a1b2");
    auto *editor = qobject_cast<TqkInplaceEdit *>(grid->InplaceEditor());
    ASSERT_TRUE(editor && editor->isVisible());
    EXPECT_EQ(editor->text(), "12") << "letters are refused by the picture";
    typeText("3");
    key(Qt::Key_Down);
    EXPECT_EQ(positions->RecNo(), 2);
    EXPECT_EQ(changedFields, QStringList{"Einheit"}) << "once for the written text";
    positions->First();
    EXPECT_EQ(positions->FieldByName("Einheit")->Text(), "123");

    click(colOf("Einheit"), 2);
    typeText("4");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), colOf("Einheit")) << "an incomplete value keeps the column";
    ASSERT_FALSE(services.messageTexts().isEmpty());
    EXPECT_TRUE(services.messageTexts().last().contains("Ungültiger Eingabewert"));
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
    EXPECT_EQ(positions->State(), dsBrowse);

    QList<bool> checks;
    grid->OnCheckValue = [&](QObject *, bool passes) { checks.append(passes); };
    click(colOf("Einheit"), 1);
    click(colOf("Einheit"), 1);
    ASSERT_TRUE(editor->isVisible() && editor->selectedText() == "123");
    key(Qt::Key_Backspace);
    EXPECT_EQ(checks.value(checks.size() - 1), true) << "Backspace removes the selection, and an empty text passes";
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);

    // Where no picture applies, the field's own edit mask filters the typing.
    positions->SetPictureMasks({});
    positions->FieldByName("Bezeichnung")->SetEditMask(">LLL");
    click(colOf("Bezeichnung"), 2);
    click(colOf("Bezeichnung"), 2);
    typeText("ab1c");
    EXPECT_EQ(editor->text(), "ABC");
    key(Qt::Key_Down);
    EXPECT_EQ(reread()->Locate("Bezeichnung", "ABC", {}), true);
}

TEST_F(GridTables, PaintingShowsTitlesIndicatorCurrentCellAndFooter)
{
    openGrid();
    QImage image = shot();
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    EXPECT_GT(inkIn(image, grid->CellRect(colOf("Bezeichnung"), 0)), 0.02) << "title text";
    EXPECT_GT(inkIn(image, grid->CellRect(colOf("Bezeichnung"), 1)), 0.02) << "cell text";
    EXPECT_GT(inkIn(image, grid->CellRect(0, 1)), 0.05) << "arrow of the current record";
    EXPECT_EQ(inkIn(image, grid->CellRect(0, 2)), 0.0);
    EXPECT_EQ(image.pixelColor(grid->CellRect(1, 1).topLeft() + QPoint(1, 1)), highlight);
    EXPECT_NE(image.pixelColor(grid->CellRect(1, 2).topLeft() + QPoint(1, 1)), highlight);

    const QColor warning(255, 220, 0);
    grid->OnCalcCellColors = [&](QObject *, TField *field, TGridDrawState, bool highlighted, QFont &, QColor &brush) {
        if (!highlighted && field->FieldName() == "menge")
            brush = warning;
    };
    grid->InvalidateGrid();
    image = shot();
    EXPECT_EQ(image.pixelColor(grid->CellRect(colOf("menge"), 2).topLeft() + QPoint(1, 1)).rgb(), warning.rgb());

    grid->SetOptions(grid->Options() | dgShowFooter);
    grid->Columns(colOf("Bezeichnung") - 1)->SetFooterValue("Summe der Positionen");
    settle();
    const QImage whole = grid->grab().toImage();
    const QRect viewportArea = grid->viewport()->geometry();
    const QRect cell = grid->CellRect(colOf("Bezeichnung"), 0);
    const QRect footerCell(viewportArea.left() + cell.left(), viewportArea.bottom() + 4, cell.width(),
                           grid->DefaultRowHeight() - 2);
    EXPECT_GT(inkIn(whole, footerCell), 0.02) << "footer text";
}

TEST_F(GridTables, CtrlAndShiftClicksSelectRecords)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    grid->SetMultiSelectOptions(msoShiftSelect);
    openGrid();
    click(1, 2, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedCount(), 1);
    click(1, 4, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedCount(), 3) << "two rows below the anchor give three records";
    click(1, 1, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedCount(), 4) << "upward from the anchor, nothing twice";
    const QImage image = shot();
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(grid->CellRect(2, 3).topLeft() + QPoint(1, 1)), highlight);
    EXPECT_NE(image.pixelColor(grid->CellRect(2, 5).topLeft() + QPoint(1, 1)), highlight);
    click(1, 3, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedCount(), 3);
    grid->UnselectAll();
    EXPECT_EQ(grid->SelectedCount(), 0);

    // A record the program selects becomes the anchor of the next Shift click.
    QList<int> pressedOnRow;
    grid->OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        pressedOnRow.append(grid->MouseCoord(x, y).y() == grid->Row() ? grid->SelectedCount() : -1);
    };
    click(1, 2, Qt::ControlModifier);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    grid->SelectRecord();
    click(1, 7, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedCount(), 4) << "rows 2 and 5 to 7";
    EXPECT_EQ(pressedOnRow, QList<int>({1, 4})) << "OnMouseDown after the grid moved and selected";
}

TEST_F(GridTables, CheckBoxesToggleByKeyAndClick)
{
    positions->SetControlType({"posdruck;CheckBox;1;0"});
    openGrid();
    const int col = colOf("posdruck");
    TField *field = positions->FieldByName("posdruck");
    positions->Edit();
    field->SetText("1");
    positions->Post();
    click(col, 1);
    const QRect cell = grid->CellRect(col, 1);
    // Inside the box's frame.
    const QRect box((cell.left() + cell.right() - 10) / 2 + 1, (cell.top() + cell.bottom() - 10) / 2 + 1, 8, 8);
    const double checkedInk = inkIn(shot(), box);
    key(Qt::Key_Space);
    EXPECT_EQ(field->Text(), "0");
    EXPECT_LT(inkIn(shot(), box), checkedInk) << "no check mark";
    EXPECT_EQ(grid->InplaceEditor(), nullptr) << "a check-box cell opens no editor";

    grid->SetEditControlOptions(ecoCheckboxSingleClick);
    click(col, 1);
    EXPECT_EQ(field->Text(), "1");
}

TEST_F(GridTables, MemoCellsOpenTheMemoDialog)
{
    openGrid();
    const int col = colOf("Text");
    EXPECT_GT(inkIn(shot(), grid->CellRect(col, 1)), 0.02) << "(Memo)";
    click(col, 1);
    QString caption;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TqkMemoDlg *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        caption = dialog->windowTitle();
        QTest::keyClick(dialog->Memo(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog->Memo(), "Lieferung frei Haus");
        QTest::keyClick(dialog->Memo(), Qt::Key_Return, Qt::ControlModifier);
    });
    key(Qt::Key_F2);
    EXPECT_EQ(caption, "Text");
    EXPECT_EQ(positions->FieldByName("Text")->AsString(), "Lieferung frei Haus");

    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TqkMemoDlg *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        QTest::keyClicks(dialog->Memo(), "!");
        services.queueAnswer(ui::IDNO);
        QTest::keyClick(dialog->Memo(), Qt::Key_Escape);
        EXPECT_TRUE(dialog->isVisible()) << "No keeps the window open";
        services.queueAnswer(ui::IDYES);
        QTest::keyClick(dialog->Memo(), Qt::Key_Escape);
    });
    key(Qt::Key_F2);
    EXPECT_EQ(positions->FieldByName("Text")->AsString(), "Lieferung frei Haus");
}

TEST_F(GridTables, RowsFollowTheGridsHeight)
{
    grid = std::make_unique<TqkDBGrid>();
    grid->SetOptions(grid->Options() | dgShowFooter);
    openGrid();
    const int fewRows = grid->RowCount();
    grid->resize(1800, 400);
    settle();
    EXPECT_GT(grid->RowCount(), fewRows);
    EXPECT_EQ(grid->RowCount() - grid->TitleOffset(), grid->DataLink()->RecordCount());
    EXPECT_GT(inkIn(shot(), grid->CellRect(colOf("Bezeichnung"), grid->RowCount() - 1)), 0.02);
}

TEST_F(GridTables, EditControlsInACellHandKeysToTheGrid)
{
    openGrid();
    auto *edit = new TqkDBEdit(grid.get());
    TqkGridHost *host = qkGridHostOf(edit);
    ASSERT_EQ(host, static_cast<TqkGridHost *>(grid.get()));
    edit->setFocus();
    int keyCode = qk::VK_DOWN;
    qkPassKeyToGrid(host, keyCode, Qt::NoModifier);
    EXPECT_EQ(keyCode, 0);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(positions->RecNo(), 2);
}

TEST_F(GridTables, DateCellsGetTheGridsDateTimePicker)
{
    demo::writeTable("Kunden.db", dir.path());
    positions->SetTableName("Kunden");
    grid->SetUseTFields(false);
    grid->SetSelected({"Name\t20", "Gruendungsdatum\t12"});
    openGrid();
    const int dateCol = colOf("Gruendungsdatum");
    click(dateCol, 1);
    auto *picker = qobject_cast<TqkDBDateTimePicker *>(grid->CurrentEmbeddedControl());
    ASSERT_TRUE(picker && picker->isVisible());
    EXPECT_EQ(picker->geometry(), grid->CellRect(dateCol, 1).translated(grid->viewport()->geometry().topLeft()));
    EXPECT_EQ(picker->text(), positions->FieldByName("Gruendungsdatum")->Text());

    key(Qt::Key_F2);
    EXPECT_TRUE(picker->hasFocus()) << "F2 goes to the picker";
    key(Qt::Key_PageDown);
    EXPECT_EQ(positions->RecNo(), std::min(1 + grid->VisibleRowCount(), positions->RecordCount()))
        << "the picker hands PageDown to the grid";
    const QRect current = grid->CellRect(dateCol, grid->Row());
    EXPECT_EQ(picker->geometry(), current.translated(grid->viewport()->geometry().topLeft()));
    EXPECT_EQ(picker->text(), positions->FieldByName("Gruendungsdatum")->Text());

    click(colOf("Name"), 1);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(grid->CurrentEmbeddedControl(), nullptr);

    grid->SetEditControlOptions(ecoDisableCustomControls);
    click(dateCol, 1);
    click(dateCol, 1);
    EXPECT_FALSE(picker->isVisible()) << "no custom control, the picker neither";
    ASSERT_TRUE(grid->InplaceEditor() && grid->InplaceEditor()->isVisible()) << "the date is typed into the cell";
}

TEST_F(GridTables, RowEventsFollowTheRecordNotTheCell)
{
    int rowChanges = 0;
    int footerUpdates = 0;
    int colEnters = 0;
    grid->OnRowChanged = [&](QObject *) { ++rowChanges; };
    grid->OnUpdateFooter = [&](QObject *) { ++footerUpdates; };
    grid->OnColEnter = [&](QObject *) { ++colEnters; };
    openGrid();
    EXPECT_EQ(rowChanges, 1);
    EXPECT_EQ(footerUpdates, 1);
    EXPECT_EQ(colEnters, 1) << "the first column is entered once the grid shows";
    key(Qt::Key_Right);
    EXPECT_EQ(rowChanges, 1) << "another column is the same record";
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(rowChanges, 3);
    EXPECT_EQ(footerUpdates, 1);
    positions->Close();
    positions->Open();
    EXPECT_EQ(colEnters, 3) << "a reopened table enters its first column again";
    EXPECT_EQ(rowChanges, 4);
    EXPECT_EQ(footerUpdates, 2);
}

TEST_F(GridTables, OtherDataSetsAreRefused)
{
    TTable plain;
    plain.SetDatabaseName(dir.path());
    plain.SetTableName("atrpos");
    plain.Open();
    TqkDataSource plainSource;
    plainSource.SetDataSet(&plain);
    grid->SetDataSource(&plainSource);
    settle();
    EXPECT_EQ(services.messageTexts(), QStringList{"qkGrid must use an Tessarion compatible TDataSet."});
    EXPECT_EQ(grid->DataSource(), nullptr);
}

TEST_F(GridTables, TitlesAreButtonsAndMoveColumns)
{
    QStringList clicked;
    grid->SetTitleButtons(true);
    grid->OnTitleButtonClick = [&](QObject *, const QString &fieldName) { clicked.append(fieldName); };
    grid->SetUseTFields(false);
    grid->SetSelected({"Artikelnr\t10", "Bezeichnung\t20", "menge\t6"});
    openGrid();
    const QPoint artikel = grid->CellRect(1, 0).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, artikel);
    const QPoint corner = grid->CellRect(1, 0).topLeft() + QPoint(1, 1);
    const QColor pressedCorner = shot().pixelColor(corner);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, artikel);
    EXPECT_EQ(clicked, QStringList{"Artikelnr"});
    EXPECT_EQ(pressedCorner.rgb(), grid->palette().color(QPalette::Dark).rgb()) << "sunken while pressed";
    EXPECT_EQ(shot().pixelColor(corner).rgb(), grid->palette().color(QPalette::Light).rgb()) << "raised again";

    const QString articleBefore = positions->FieldByName("Artikelnr")->Text();
    click(2, 1);
    typeText("XYZ");
    const QPoint menge = grid->CellRect(3, 0).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, menge);
    QTest::mouseMove(grid->viewport(), menge - QPoint(20, 0));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, artikel);
    settle();
    EXPECT_EQ(clicked.size(), 1) << "a dragged title is no click";
    ASSERT_EQ(grid->Selected().size(), 3);
    EXPECT_TRUE(grid->Selected().first().startsWith("menge\t"));
    EXPECT_EQ(grid->GetFields(0)->FieldName(), "menge");
    key(Qt::Key_Down);
    const auto table = reread();
    EXPECT_EQ(table->FieldByName("Bezeichnung")->Text().toStdString(), "XYZ") << "typed text stays with its field";
    EXPECT_EQ(table->FieldByName("Artikelnr")->Text(), articleBefore);
}

TEST_F(GridTables, ACheckBoxOnACalculatedSelectedFieldSelectsTheRecord)
{
    positions->AddField(CreateField(positions.get(), "Selected", ftString, 1, fkCalculated));
    positions->SetControlType({"Selected;CheckBox;T;F"});
    grid->SetUseTFields(false);
    grid->SetSelected({"Selected\t2", "Bezeichnung\t30"});
    openGrid();
    const QRect cell = grid->CellRect(1, 2);
    // Inside the box's frame.
    const QRect box((cell.left() + cell.right() - 10) / 2 + 1, (cell.top() + cell.bottom() - 10) / 2 + 1, 8, 8);
    const double uncheckedInk = inkIn(shot(), box);
    EXPECT_TRUE(grid->TabStops(1)) << "a calculated column with the selection check box";
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    EXPECT_EQ(grid->SelectedCount(), 1);
    EXPECT_TRUE(grid->IsSelected());
    EXPECT_GT(inkIn(shot(), box), uncheckedInk) << "checked because the record is selected";
    key(Qt::Key_Space);
    EXPECT_EQ(grid->SelectedCount(), 0);
}

TEST_F(GridTables, AnAlwaysShownEditorFollowsTheCurrentCell)
{
    grid->SetOptions(grid->Options() | dgAlwaysShowEditor);
    openGrid();
    click(colOf("Bezeichnung"), 1);
    auto *editor = qobject_cast<TqkInplaceEdit *>(grid->InplaceEditor());
    ASSERT_TRUE(editor && editor->isVisible());
    key(Qt::Key_Down);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->geometry(), grid->CellRect(colOf("Bezeichnung"), 2));
    EXPECT_EQ(editor->text(), positions->FieldByName("Bezeichnung")->Text());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedField()->FieldName(), "Artikelnr");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), grid->SelectedField()->Text());
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->SelectedField()->FieldName(), "Text");
    EXPECT_FALSE(editor->isVisible()) << "a memo cell takes no editor";
}

TEST_F(GridTables, AViewOnlyMemoDialogHasUserButtonsAndNoCancel)
{
    openGrid();
    TqkMemoDialog memo;
    memo.SetDataSource(source.get());
    memo.SetDataField("Text");
    memo.SetMemoAttributes(mViewOnly | mWordWrap);
    memo.SetCaption("Positionstext");
    memo.UserButton2Caption = "In die Zwischenablage kopieren";
    QString copied;
    memo.OnUserButton2Click = [&](TqkMemoDlg *, QPlainTextEdit *editor) { copied = editor->toPlainText(); };
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TqkMemoDlg *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(dialog->CancelButton()->isVisible());
        EXPECT_TRUE(dialog->Memo()->isReadOnly());
        EXPECT_EQ(dialog->UserButton1(), nullptr);
        ASSERT_TRUE(dialog->UserButton2());
        EXPECT_GE(dialog->UserButton2()->width(), dialog->UserButton2()->sizeHint().width()) << "caption not cut";
        QTest::mouseClick(dialog->UserButton2(), Qt::LeftButton);
        QTest::keyClick(dialog->Memo(), Qt::Key_F2);
    });
    EXPECT_TRUE(memo.Execute());
    EXPECT_EQ(copied, positions->FieldByName("Text")->AsString());
    EXPECT_EQ(positions->State(), dsBrowse) << "nothing written back";
}
