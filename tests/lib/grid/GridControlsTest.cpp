#include "GridTables.h"

#include "demo/tables/DemoTables.h"
#include "lib/data/Qkintl.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/edit/qkdbedit.h"
#include "lib/grid/qkIButton.h"
#include "lib/grid/qkImageList.h"
#include "lib/grid/qkMemoDialog.h"
#include "lib/rich/qkRichEditForm.h"
#include "lib/rich/qkriched.h"

#include <QApplication>
#include <QBuffer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QImage solid(const QColor &color, int width = 20, int height = 10)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}

// A form with a grid over the customers and the controls its lines name.
class GridControls : public GridTables
{
protected:
    void SetUp() override
    {
        GridTables::SetUp();
        demo::writeTable("Kunden.db", dir.path());
        positions->SetTableName("Kunden");
        form.resize(1000, 400);
        grid->setParent(&form);
        form.show();
    }
    void TearDown() override
    {
        grid.reset();
        GridTables::TearDown();
    }
    QColor centreOf(int col, int row) { return shot().pixelColor(grid->CellRect(col, row).center()); }
    // The grid over name and remark, the remark a rich text cell of a rich edit on the form.
    TqkDBRichEdit *openWithRichCell()
    {
        auto *richEdit = new TqkDBRichEdit(&form);
        richEdit->setObjectName("bemerkungRich");
        positions->SetControlType({"Bemerkung;RichEdit;bemerkungRich"});
        grid->SetUseTFields(false);
        grid->SetSelected({"Name\t20", "Bemerkung\t30"});
        openGrid();
        return richEdit;
    }

    QWidget form;
};

TEST_F(GridControls, BitmapCellsFitAndCopyAsTheirLineSays)
{
    positions->Open();
    positions->Edit();
    positions->FieldByName("Bild")->SetAsBytes(pngOf(solid(QColor(255, 0, 0))));
    positions->Post();
    grid->SetUseTFields(false);
    grid->SetSelected({"Name\t10", "Bild\t10"});
    openGrid();
    const int col = colOf("Bild");
    const QColor background = grid->palette().color(QPalette::Base);
    const struct
    {
        const char *line;
        QColor centre;
    } cases[] = {
        {"Bild;Bitmap;Stretch To Fit;Source Copy", QColor(255, 0, 0)},
        {"Bild;Bitmap;Stretch To Fit;Not Source Copy", QColor(0, 255, 255)},
        {"Bild;Bitmap;Stretch To Fit;Gibt es nicht", QColor(255, 0, 0)},
        {"Bild;Bitmap;Fit Width;Source Copy", QColor(255, 0, 0)},
        {"Bild;Bitmap;Passend;Source Copy", background},
    };
    for (const auto &cell : cases) {
        positions->SetControlType({cell.line});
        grid->InvalidateGrid();
        EXPECT_EQ(centreOf(col, 1).rgb(), cell.centre.rgb()) << cell.line;
    }
    positions->SetControlType({"Bild;Bitmap;Original Size;Source Copy"});
    grid->InvalidateGrid();
    const QImage image = shot();
    const QRect cell = grid->CellRect(col, 1);
    EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(1, 1)).rgb(), QColor(255, 0, 0).rgb());
    EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(25, 1)).rgb(), background.rgb()) << "20 pixels wide";
    EXPECT_EQ(image.pixelColor(cell.topLeft()).rgb(), background.rgb()) << "one pixel inside the corner";
    EXPECT_EQ(centreOf(col, 2).rgb(), background.rgb()) << "a record without picture";
}

TEST_F(GridControls, ImageIndexCellsAndTitleImagesComeFromTheImageLists)
{
    TImageList images(12, 12);
    images.Add(solid(Qt::green, 12, 12));
    images.Add(solid(Qt::blue, 12, 12));
    positions->SetTableName("atrpos");
    positions->SetControlType({"posdruck;ImageIndex;Shrink To Fit"});
    grid->SetImageList(&images);
    grid->SetTitleImageList(&images);
    grid->OnCalcTitleImage = [](QObject *, TField *field, TqkTitleImageAttributes &attributes) {
        if (field->FieldName() == "menge") {
            attributes.ImageIndex = 1;
            attributes.ImagePlacement = 2;
        }
    };
    openGrid();
    const int col = colOf("posdruck");
    positions->Edit();
    positions->FieldByName("posdruck")->SetAsInteger(1);
    positions->Post();
    EXPECT_EQ(centreOf(col, 1).rgb(), QColor(Qt::blue).rgb());
    positions->Edit();
    positions->FieldByName("posdruck")->SetAsInteger(7);
    positions->Post();
    EXPECT_EQ(centreOf(col, 1).rgb(), grid->palette().color(QPalette::Base).rgb()) << "no such image";
    EXPECT_EQ(centreOf(colOf("menge"), 0).rgb(), QColor(Qt::blue).rgb()) << "the title image alone";
    EXPECT_NE(centreOf(colOf("Artikelnr"), 0).rgb(), QColor(Qt::blue).rgb());
}

TEST_F(GridControls, TitleAndFooterEventsTakeOverTheirCells)
{
    const QColor titleBrush(200, 230, 255);
    const QColor footerCell(255, 240, 200);
    grid->OnCalcTitleAttributes = [&](QObject *, const QString &fieldName, QFont &, QColor &brush, Qt::Alignment &) {
        if (fieldName == "Name")
            brush = titleBrush;
    };
    grid->OnDrawTitleCell = [](QObject *, QPainter &, TField *field, const QRect &, bool &defaultDrawing) {
        defaultDrawing = field->FieldName() != "Ort";
    };
    QStringList footerTexts;
    grid->OnDrawFooterCell = [&](QObject *, QPainter &, const QRect &, TField *field, const QString &text,
                                 bool &defaultDrawing) {
        footerTexts.append(field->FieldName() + "=" + text);
        defaultDrawing = false;
    };
    grid->SetOptions(grid->Options() | dgShowFooter);
    grid->SetFooterCellColor(footerCell);
    grid->SetUseTFields(false);
    grid->SetSelected({"Name\t20", "Ort\t20"});
    openGrid();
    grid->Columns(0)->SetFooterValue("3 Kunden");
    const QImage image = shot();
    EXPECT_EQ(image.pixelColor(grid->CellRect(colOf("Name"), 0).topLeft() + QPoint(2, 2)).rgb(), titleBrush.rgb());
    EXPECT_EQ(inkIn(image, grid->CellRect(colOf("Ort"), 0)), 0.0) << "the handler drew the title";
    EXPECT_GT(inkIn(image, grid->CellRect(colOf("Name"), 0)), 0.01);
    settle();
    const QImage whole = grid->grab().toImage();
    const QRect viewportArea = grid->viewport()->geometry();
    const QRect nameCell = grid->CellRect(colOf("Name"), 0);
    EXPECT_EQ(whole.pixelColor(viewportArea.left() + nameCell.center().x(), viewportArea.bottom() + 1 + 6).rgb(),
              footerCell.rgb());
    EXPECT_TRUE(footerTexts.contains("Name=3 Kunden"));
}

TEST_F(GridControls, CheckBoxesHaveTwoStyles)
{
    positions->SetTableName("atrpos");
    positions->SetControlType({"posdruck;CheckBox;1;0"});
    openGrid();
    positions->Edit();
    positions->FieldByName("posdruck")->SetText("1");
    positions->Post();
    const QRect cell = grid->CellRect(colOf("posdruck"), 1);
    const QPoint centre((cell.left() + cell.right() - 10) / 2 + 5, (cell.top() + cell.bottom() - 10) / 2 + 5);
    const TqkCheckBoxInGridStyle before = qkIntl().CheckBoxInGridStyle();
    qkIntl().SetCheckBoxInGridStyle(cbStyleXmark);
    grid->InvalidateGrid();
    const QImage xmark = shot();
    qkIntl().SetCheckBoxInGridStyle(cbStyleCheckmark);
    grid->InvalidateGrid();
    const QImage checkmark = shot();
    qkIntl().SetCheckBoxInGridStyle(before);
    EXPECT_LT(xmark.pixelColor(centre).lightness(), 80) << "the strokes of the X cross in the middle";
    EXPECT_GT(checkmark.pixelColor(centre + QPoint(-3, -3)).lightness(), 180) << "no X in the check-mark style";
    EXPECT_LT(xmark.pixelColor(centre + QPoint(-3, -3)).lightness(), 80);
}

TEST_F(GridControls, TheIndicatorButtonSizesTheCornerCell)
{
    openGrid();
    auto *button = new TqkIButton(grid.get());
    button->resize(24, 40);
    settle();
    EXPECT_EQ(grid->ColWidths(0), 23) << button->width() << " " << button->isVisible();
    EXPECT_EQ(grid->RowHeights(0), 40 - 1) << "as high as the button, less the row line";
    button->move(5, 5);
    EXPECT_EQ(button->pos(), QPoint(0, 0));
}

TEST_F(GridControls, EditControlsAreFoundOnTheFormAndTheDataModule)
{
    auto *nameEdit = new TqkDBEdit(&form);
    nameEdit->setObjectName("nameEdit");
    QWidget module;
    positions->setParent(&module);
    auto *landCombo = new TqkDBComboBox(&module);
    landCombo->setObjectName("landCombo");
    auto *button = new QPushButton(&form);
    button->setObjectName("okButton");
    openGrid();
    EXPECT_EQ(grid->FindEditControl("nameEdit"), nameEdit);
    EXPECT_EQ(grid->FindEditControl("Stamm.landCombo"), landCombo) << "the data set's owner";
    EXPECT_EQ(grid->FindEditControl("landCombo"), nullptr) << "not on the form";
    EXPECT_EQ(grid->FindEditControl("okButton"), nullptr) << "no edit control";
    positions->setParent(nullptr);
    grid->SetDataSource(nullptr);
}

TEST_F(GridControls, ComboCellsShowTheMapTextAndEditInTheCombo)
{
    auto *landCombo = new TqkDBComboBox(&form);
    landCombo->setObjectName("landCombo");
    landCombo->SetMapList(true);
    landCombo->SetItems({"Deutschland\tD", "Österreich\tA"});
    positions->SetControlType({"Land;Combo;landCombo"});
    grid->SetUseTFields(false);
    grid->SetSelected({"Name\t20", "Land\t12"});
    openGrid();
    TField *land = positions->FieldByName("Land");
    positions->Edit();
    land->SetText("A");
    positions->Post();
    EXPECT_EQ(grid->CellText(land), "Österreich");
    positions->Edit();
    land->SetText("CH");
    positions->Post();
    EXPECT_EQ(grid->CellText(land), "CH") << "a value the map does not know";

    click(colOf("Land"), 1);
    ASSERT_EQ(grid->CurrentEmbeddedControl(), landCombo);
    EXPECT_TRUE(landCombo->isVisible());
    EXPECT_EQ(landCombo->parentWidget(), grid.get());
    EXPECT_EQ(landCombo->geometry(),
              grid->CellRect(colOf("Land"), 1).translated(grid->viewport()->geometry().topLeft()));
    EXPECT_EQ(landCombo->DataField(), "Land");
    EXPECT_EQ(grid->InplaceEditor(), nullptr) << "the combo edits, not the in-place editor";
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(landCombo->IsDroppedDown()) << "Alt+Down opens the combo's list";
    EXPECT_EQ(positions->RecNo(), 1) << "the grid does not move";
    QTest::keyClick(landCombo, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(landCombo->IsDroppedDown());
    QApplication::setActiveWindow(&form);
    grid->setFocus();
    key(Qt::Key_O);
    EXPECT_TRUE(landCombo->hasFocus()) << "a typed character goes to the combo";
    grid->setFocus();
    key(Qt::Key_Left);
    EXPECT_FALSE(landCombo->isVisible()) << "a navigation key stays with the grid";

    grid->SetEditControlOptions(ecoDisableCustomControls);
    click(colOf("Land"), 1);
    EXPECT_EQ(grid->CurrentEmbeddedControl(), nullptr);
    positions->Edit();
    land->SetText("A");
    positions->Post();
    EXPECT_EQ(grid->CellText(land), "A") << "no combo, no map";
}

TEST_F(GridControls, TheLinkCheckCleansTheListsAndAppliesTheStoredLayout)
{
    positions->SetControlType({"Name;CustomEdit;nameEdit", "Fehlt;CheckBox;T;F"});
    grid->SetSelected({"Ort\t15\tWohnort", "Name\t20\tKunde"});
    openGrid();
    EXPECT_EQ(positions->ControlType(), QStringList{"Name;CustomEdit;nameEdit"}) << "the missing field's line";
    ASSERT_EQ(grid->GetFieldCount(), 2) << "the stored layout shows only its fields";
    EXPECT_EQ(grid->GetFields(0)->FieldName(), "Ort");
    EXPECT_EQ(grid->GetFields(0)->DisplayLabel(), "Wohnort");
    EXPECT_EQ(grid->GetFields(1)->DisplayWidth(), 20);
}

TEST_F(GridControls, RichTextCellsShowTheirTextAndHandF2ToTheRichEdit)
{
    TqkDBRichEdit *richEdit = openWithRichCell();
    TField *remark = positions->FieldByName("Bemerkung");
    positions->Edit();
    remark->SetAsString("{\\rtf1\\ansi {\\b Wichtig:} nur vormittags liefern}");
    positions->Post();
    EXPECT_EQ(grid->CellText(remark), "Wichtig: nur vormittags liefern");
    positions->Edit();
    remark->SetAsString("Ohne Formatierung");
    positions->Post();
    EXPECT_EQ(grid->CellText(remark), "Ohne Formatierung");
    EXPECT_EQ(richEdit->parentWidget(), grid.get()) << "wired to the grid";
    EXPECT_EQ(richEdit->DataField(), "Bemerkung");

    int f2Presses = 0;
    struct KeyCounter : QObject
    {
        int &presses;
        explicit KeyCounter(int &count) : presses(count) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2)
                ++presses;
            return event->type() == QEvent::KeyPress;
        }
    } counter(f2Presses);
    richEdit->installEventFilter(&counter);
    click(colOf("Bemerkung"), 1);
    key(Qt::Key_F2);
    EXPECT_EQ(f2Presses, 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(colOf("Bemerkung"), 1).center());
    EXPECT_EQ(f2Presses, 2);
    richEdit->removeEventFilter(&counter);
}

TEST_F(GridControls, TheMemoDialogTakesTheCaptionsAndKeepsItsDesignedSize)
{
    positions->SetTableName("atrpos");
    openGrid();
    const QString cancelBefore = qkIntl().BtnCancelCaption;
    qkIntl().BtnCancelCaption = "Abbrechen";
    qkIntl().DialogFontStyle = fsBold;
    click(colOf("Text"), 1);
    QString cancelText;
    QSize size;
    bool bold = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TqkMemoDlg *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        cancelText = dialog->CancelButton()->text();
        bold = dialog->OkButton()->font().bold();
        size = dialog->size();
        dialog->CancelButton()->click();
    });
    key(Qt::Key_F2);
    qkIntl().BtnCancelCaption = cancelBefore;
    qkIntl().DialogFontStyle = {};
    EXPECT_EQ(cancelText, "Abbrechen");
    EXPECT_TRUE(bold) << "the buttons take the captions object's font style";
    EXPECT_EQ(size, QSize(561, 395)) << "the grid's dialog keeps its designed size";
}

// In titles of the column lines "&" marks an accelerator; a field's own label shows it as it is.
TEST_F(GridControls, AnAmpersandInALineTitleMarksTheAccelerator)
{
    const auto rightmostInk = [&](int col) {
        const QImage image = shot();
        const QRect cell = grid->CellRect(col, 0);
        const QColor background = image.pixelColor(cell.topLeft() + QPoint(1, 1));
        int right = -1;
        for (int x = cell.left() + 1; x < cell.right(); ++x)
            for (int y = cell.top() + 1; y < cell.bottom(); ++y)
                if (std::abs(image.pixelColor(x, y).lightness() - background.lightness()) > 60)
                    right = x;
        return right;
    };
    const auto lineTitle = [&](const QString &title) {
        grid->SetSelected({"Name\t30\t" + title});
        return rightmostInk(1);
    };
    grid->SetUseTFields(false);
    openGrid();
    const int plain = lineTitle("Kunde");
    EXPECT_EQ(lineTitle("&Kunde"), plain) << "no ampersand drawn";
    EXPECT_GT(lineTitle("&&Kunde"), plain) << "a doubled one is drawn once";

    grid->SetSelected({});
    grid->SetUseTFields(true);
    TField *name = positions->FieldByName("Name");
    name->SetDisplayLabel("Kunde");
    const int label = rightmostInk(colOf("Name"));
    name->SetDisplayLabel("&Kunde");
    EXPECT_GT(rightmostInk(colOf("Name")), label) << "the field's label keeps its ampersand";
}

TEST_F(GridControls, TabStaysInTheGridOnEveryKindOfCell)
{
    auto *landCombo = new TqkDBComboBox(&form);
    landCombo->setObjectName("landCombo");
    auto *phone = new TqkDBEdit(&form);
    phone->SetDataSource(source.get());
    phone->SetDataField("Telefon");
    positions->SetControlType({"Land;Combo;landCombo"});
    grid->SetUseTFields(false);
    grid->SetSelected({"Name\t20", "Ort\t15", "Land\t5", "Gruendungsdatum\t12", "Bemerkung\t20", "plz\t6"});
    openGrid();
    for (const char *field : {"Name", "Land", "Gruendungsdatum", "Bemerkung"}) {
        click(colOf(field), 2);
        key(Qt::Key_Tab);
        EXPECT_EQ(grid->Col(), colOf(field) + 1) << field;
        key(Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(grid->Col(), colOf(field)) << field;
    }
    const QString phoneBefore = positions->FieldByName("Telefon")->Text();
    click(colOf("Name"), 2);
    key(Qt::Key_Tab);
    typeText("9999");
    positions->CheckBrowseMode();
    const auto table = reread();
    table->Next();
    EXPECT_EQ(table->FieldByName("Telefon")->Text(), phoneBefore) << "no key reached the control beside the grid";
}

TEST_F(GridControls, TheEditorWindowSavesARichTextCellIntoTheTable)
{
    openWithRichCell();
    click(colOf("Bemerkung"), 1);
    QString shown;
    for (const QString &typed : {QStringLiteral("Danke. "), QString()}) {
        QTimer::singleShot(0, [&] {
            auto *editor = qobject_cast<TqkRichEditForm *>(QApplication::activeModalWidget());
            ASSERT_TRUE(editor);
            QApplication::setActiveWindow(editor);
            shown = editor->RichEdit1()->toPlainText();
            editor->RichEdit1()->setFocus();
            QTest::keyClicks(editor->RichEdit1(), typed);
            QTest::keyClick(editor->RichEdit1(), Qt::Key_S, Qt::ControlModifier);
        });
        key(Qt::Key_F2);
        QApplication::setActiveWindow(&form);
        key(Qt::Key_Down);
        key(Qt::Key_Up);
    }
    EXPECT_TRUE(reread()->FieldByName("Bemerkung")->AsString().contains("Danke."));
    EXPECT_TRUE(shown.startsWith("Danke.")) << "F2 shows the saved text";
}
