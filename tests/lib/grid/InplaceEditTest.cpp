#include "GridTables.h"

#include "lib/edit/qkLinesWindow.h"
#include "lib/grid/qkInplaceEdit.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// The first column of the image that holds ink: light ink or dark.
int firstInkColumn(const QImage &image, bool light)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (light ? image.pixelColor(x, y).lightness() > 200 : image.pixelColor(x, y).lightness() < 100)
                return x;
    return -1;
}

struct RowCase
{
    int lines;
    bool multiLine;
};

}

TEST_F(GridTables, AWordWrappedCellHighEnoughForTwoLinesIsEditedInTheLinesWindow)
{
    const QString typed = "Sechskantschrauben aus Edelstahl mit Unterlegscheibe";
    const RowCase cases[] = {{1, false}, {3, true}};
    for (const RowCase &c : cases) {
        openGrid();
        grid->SetDefaultRowHeight(c.lines * grid->fontMetrics().height() + 4);
        grid->SetColWidths(colOf("Bezeichnung"), 120);
        settle();
        const int row = grid->Row();
        click(colOf("Bezeichnung"), row);
        click(colOf("Bezeichnung"), row);
        auto *editor = qobject_cast<TqkInplaceEdit *>(grid->InplaceEditor());
        ASSERT_TRUE(editor && editor->hasFocus()) << c.lines;
        EXPECT_EQ(editor->MultiLine(), c.multiLine) << c.lines;
        key(Qt::Key_A, Qt::ControlModifier);
        typeText(typed);
        if (c.multiLine) {
            EXPECT_GT(editor->LinesWindow()->document()->firstBlock().layout()->lineCount(), 1);
        }
        key(Qt::Key_Down);
        EXPECT_EQ(grid->Row(), row + 1) << "Down leaves the cell for the next record";
        positions->Prior();
        EXPECT_EQ(positions->FieldByName("Bezeichnung")->AsString(), typed) << c.lines;
        positions->Close();
    }
}

TEST_F(GridTables, AMemoCellIsEditedLineByLineAndKeepsItsStoredLineBreaks)
{
    openGrid();
    positions->Edit();
    positions->FieldByName("Text")->SetAsString("Erste Zeile\r\nZweite Zeile");
    positions->Post();
    TqkCustomDBGrid plain;
    plain.resize(900, 200);
    plain.SetDataSource(source.get());
    plain.SetDefaultRowHeight(3 * plain.fontMetrics().height() + 4);
    plain.show();
    QApplication::setActiveWindow(&plain);
    plain.setFocus();
    settle();
    int textCol = -1;
    for (int dataCol = 0; dataCol < plain.GetFieldCount(); ++dataCol)
        if (plain.GetFields(dataCol)->FieldName() == "Text")
            textCol = dataCol + plain.IndicatorOffset();
    ASSERT_GE(textCol, 0);
    const QRect cell = plain.CellRect(textCol, plain.Row());
    QTest::mouseClick(plain.viewport(), Qt::LeftButton, {}, cell.center());
    settle();
    // The current cell is highlighted: its text is light on dark.
    const int paintedAt = firstInkColumn(plain.viewport()->grab(cell).toImage(), true);
    QTest::mouseClick(plain.viewport(), Qt::LeftButton, {}, cell.center());
    settle();
    auto *editor = qobject_cast<TqkInplaceEdit *>(plain.InplaceEditor());
    ASSERT_TRUE(editor && editor->hasFocus());
    ASSERT_TRUE(editor->MultiLine());
    EXPECT_EQ(editor->LinesWindow()->blockCount(), 2);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_LE(qAbs(firstInkColumn(editor->grab().toImage(), false) - paintedAt), 1)
        << "the text stays where the cell shows it";
    typeText("!");
    key(Qt::Key_Return);
    positions->CheckBrowseMode();
    EXPECT_EQ(positions->FieldByName("Text")->AsString(), "Erste Zeile\r\nZweite Zeile!");
}

// A position number beyond what its SHORT column holds is refused with the
// allowed range, typed into the grid's editor or posted by a program; the
// table keeps the old number.
TEST_F(GridTables, AWholeNumberBeyondItsColumnIsRefusedByEditorAndPost)
{
    openGrid();
    const struct
    {
        QString typed;
        bool refused;
    } cases[] = {{"32767", false}, {"-32768", false}, {"32768", true}, {"99999999999", true}};
    for (const bool typing : {true, false}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.typed.toStdString() + (typing ? " typed" : " posted"));
            positions->First();
            const QString order = positions->FieldByName("auftragnr")->AsString();
            const QString before = positions->FieldByName("posnr")->AsString();
            QStringList told;
            if (typing) {
                click(colOf("posnr"), grid->Row());
                click(colOf("posnr"), grid->Row());
                key(Qt::Key_A, Qt::ControlModifier);
                typeText(c.typed);
                key(Qt::Key_Down);
                told = services.messageTexts();
                services.clear();
            } else {
                try {
                    positions->Edit();
                    positions->FieldByName("posnr")->SetText(c.typed);
                    positions->Post();
                } catch (const EDatabaseError &error) {
                    told << error.Message();
                }
            }
            positions->Cancel();
            EXPECT_EQ(told, c.refused ? QStringList{c.typed
                                                    + " ist kein gültiger Wert für das Feld 'posnr'. "
                                                      "Zulässig sind Werte von -32768 bis 32767."}
                                      : QStringList());
            EXPECT_TRUE(reread()->Locate("auftragnr;posnr", QVariantList{order, c.refused ? before : c.typed}, {}));
            if (!c.refused && positions->Locate("auftragnr;posnr", QVariantList{order, c.typed}, {})) {
                positions->Edit();
                positions->FieldByName("posnr")->SetText(before);
                positions->Post();
            }
        }
    }
}
