#include "GridTables.h"

#include "demo/tables/DemoTables.h"
#include "platform/runtime/FormatSettings.h"

#include <QApplication>
#include <QTest>

void GridTables::SetUp()
{
    ResetFormatSettings();
    demo::writePositionTable(dir.path(), 60);
    positions = std::make_unique<TqkTable>();
    positions->SetDatabaseName(dir.path());
    positions->SetTableName(QStringLiteral("atrpos"));
    source = std::make_unique<TqkDataSource>();
    source->SetDataSet(positions.get());
    grid = std::make_unique<TqkDBGrid>();
    grid->resize(1800, 320);
}

void GridTables::TearDown()
{
    grid.reset();
    source.reset();
    positions.reset();
    ResetFormatSettings();
}

void GridTables::openGrid()
{
    positions->Open();
    grid->SetDataSource(source.get());
    grid->show();
    QApplication::setActiveWindow(grid.get());
    grid->setFocus();
    settle();
}

void GridTables::settle()
{
    QApplication::processEvents();
    QApplication::processEvents();
}

void GridTables::key(int qtKey, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : grid.get();
    QTest::keyClick(target, Qt::Key(qtKey), modifiers);
    settle();
}

void GridTables::typeText(const QString &text)
{
    for (const QChar c : text) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : grid.get();
        QTest::keyClick(target, c.toLatin1());
        settle();
    }
}

void GridTables::click(int col, int row, Qt::KeyboardModifiers modifiers)
{
    const QRect cell = grid->CellRect(col, row);
    ASSERT_FALSE(cell.isEmpty()) << col << "," << row;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
    settle();
}

int GridTables::colOf(const QString &fieldName) const
{
    for (int dataCol = 0; dataCol < grid->GetFieldCount(); ++dataCol)
        if (grid->GetFields(dataCol)->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return dataCol + grid->IndicatorOffset();
    return -1;
}

std::unique_ptr<TqkTable> GridTables::reread() const
{
    auto table = std::make_unique<TqkTable>();
    table->SetDatabaseName(dir.path());
    table->SetTableName(positions->TableName());
    table->Open();
    return table;
}

QImage GridTables::shot()
{
    settle();
    return grid->viewport()->grab().toImage();
}

double GridTables::inkIn(const QImage &image, const QRect &rect) const
{
    const QRect inner = rect.adjusted(1, 1, -1, -1).intersected(image.rect());
    const QColor background = image.pixelColor(inner.topLeft());
    int ink = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.lightness() - background.lightness()) > 60)
                ++ink;
        }
    return double(ink) / std::max(1, inner.width() * inner.height());
}
