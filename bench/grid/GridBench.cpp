// The library's grid on order positions ("ours") against a QTableView on a
// plain table model that reads the same SQLite rows, in the same collation
// and so through the same index ("base"). Both sides paint every screen.
// Measured: opening, paging down 1,000 screens, and dragging the scroll
// bar's thumb from the top to the middle and to 90 % of 20,000, 200,000 and
// 2,000,000 rows. Run it from a Release build.

#include "BenchRounds.h"
#include "demo/tables/DemoTables.h"
#include "lib/data/Qkdatsrc.h"
#include "lib/data/Qktable.h"
#include "lib/grid/qkDBGrid.h"
#include "platform/db/GermanCollation.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int screens = 1000;
// The rows the base reads at once: as many as the view shows, measured once
// at start, so both sides read a screen's rows per move, as the grid's buffer does.
int pageRows = 64;
constexpr int thumbRange = 200;
const QSize gridSize(900, 600);

// The grid's table orders by its key, auftragnr in the German collation and
// posnr; the base asks for the same order, so SQLite walks the same index.
const char *columns = "SELECT auftragnr, posnr, Artikelnr, Bezeichnung, menge, Einheit, epreis, gpreis, kundennr "
                      "FROM atrpos ";
const char *order = " ORDER BY auftragnr COLLATE GERMAN, posnr";
const char *atOffset = " LIMIT ?1 OFFSET ?2";
// The keyset condition in the form the data layer uses: an index range on
// the leading key, the second key compared only on the bound's own value.
const char *afterKey = "WHERE auftragnr COLLATE GERMAN >= ?1 AND (auftragnr COLLATE GERMAN <> ?1 OR posnr > ?2)";

// A table model that knows the row count and keeps one window of rows:
// the row after the window is read forward by key, any other row by offset.
class PositionModel : public QAbstractTableModel
{
public:
    explicit PositionModel(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        db::registerGermanCollations(m_db);
        sqlite3_stmt *count = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT COUNT(*) FROM atrpos", -1, &count, nullptr);
        sqlite3_step(count);
        m_count = sqlite3_column_int(count, 0);
        sqlite3_finalize(count);
        const QByteArray offsetSql = QByteArray(columns) + order + atOffset;
        const QByteArray nextSql = QByteArray(columns) + afterKey + order + " LIMIT ?3";
        sqlite3_prepare_v2(m_db, offsetSql.constData(), -1, &m_atOffset, nullptr);
        sqlite3_prepare_v2(m_db, nextSql.constData(), -1, &m_next, nullptr);
    }
    ~PositionModel() override
    {
        sqlite3_finalize(m_atOffset);
        sqlite3_finalize(m_next);
        sqlite3_close(m_db);
    }
    int rowCount(const QModelIndex &) const override { return m_count; }
    int columnCount(const QModelIndex &) const override { return 9; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        auto *self = const_cast<PositionModel *>(this);
        const int row = index.row();
        if (row == m_first + int(m_rows.size()) && !m_rows.isEmpty())
            self->readNext();
        else if (row < m_first || row >= m_first + int(m_rows.size()))
            self->readAt(row);
        return m_rows.value(row - m_first).value(index.column());
    }

private:
    void readAt(int row)
    {
        m_rows.clear();
        m_first = row;
        sqlite3_reset(m_atOffset);
        sqlite3_bind_int(m_atOffset, 1, pageRows);
        sqlite3_bind_int(m_atOffset, 2, row);
        readRows(m_atOffset);
    }
    void readNext()
    {
        const QByteArray key = m_rows.last().at(0).toUtf8();
        const int posnr = m_rows.last().at(1).toInt();
        sqlite3_reset(m_next);
        sqlite3_bind_text(m_next, 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(m_next, 2, posnr);
        sqlite3_bind_int(m_next, 3, pageRows);
        readRows(m_next);
    }
    void readRows(sqlite3_stmt *statement)
    {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList row;
            for (int column = 0; column < 9; ++column)
                row.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column))));
            m_rows.append(row);
        }
    }

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_atOffset = nullptr;
    sqlite3_stmt *m_next = nullptr;
    int m_count = 0;
    int m_first = 0;
    QVector<QStringList> m_rows;
};

struct GridSide
{
    explicit GridSide(const QString &folder)
    {
        positions.SetDatabaseName(folder);
        positions.SetTableName(QStringLiteral("atrpos"));
        positions.Open();
        source.SetDataSet(&positions);
        grid.resize(gridSize);
        grid.SetDataSource(&source);
        grid.show();
        QApplication::processEvents();
        grid.viewport()->repaint();
    }
    TqkTable positions;
    TqkDataSource source;
    TqkDBGrid grid;
};

struct ViewSide
{
    explicit ViewSide(const QString &path) : model(path)
    {
        view.resize(gridSize);
        view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 3);
        view.setModel(&model);
        view.show();
        QApplication::processEvents();
        view.viewport()->repaint();
    }
    PositionModel model;
    QTableView view;
};

int rowsShown(const QString &path)
{
    ViewSide side(path);
    return side.view.rowAt(side.view.viewport()->height() - 1) - side.view.rowAt(0) + 1;
}

void pageDownGrid(const QString &folder, int count)
{
    GridSide side(folder);
    for (int screen = 0; screen < count; ++screen) {
        QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&side.grid, &pageDown);
        side.grid.viewport()->repaint();
    }
    if (count > 0 && side.positions.RecNo() < count)
        std::fprintf(stderr, "the grid did not page: record %d\n", side.positions.RecNo());
}

void pageDownView(const QString &path, int count)
{
    ViewSide side(path);
    for (int screen = 0; screen < count; ++screen) {
        side.view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        side.view.viewport()->repaint();
    }
    if (count > 0 && side.view.rowAt(0) < count)
        std::fprintf(stderr, "the view did not page: top row %d\n", side.view.rowAt(0));
}

// From the first record, the thumb is dropped at `position` of 200.
void dragGrid(GridSide &side, int position)
{
    side.positions.First();
    side.grid.viewport()->repaint();
    QScrollBar *bar = side.grid.verticalScrollBar();
    bar->setSliderPosition(position);
    bar->triggerAction(QAbstractSlider::SliderMove);
    side.grid.viewport()->repaint();
}

void dragView(ViewSide &side, int position)
{
    side.view.scrollToTop();
    side.view.viewport()->repaint();
    side.view.verticalScrollBar()->setValue(side.model.rowCount({}) * position / thumbRange);
    side.view.viewport()->repaint();
}

// Both sides must stand on the same record before their times mean anything.
bool sameTarget(GridSide &grid, ViewSide &view, int position)
{
    dragGrid(grid, position);
    dragView(view, position);
    const int gridRecord = grid.positions.RecNo();
    const int viewRecord = view.view.rowAt(0) + 1;
    const int expected = grid.positions.RecordCount() * position / thumbRange + 1;
    if (gridRecord == expected && viewRecord == expected)
        return true;
    std::fprintf(stderr, "thumb at %d: the grid stands at record %d, the view at %d, not %d\n", position, gridRecord,
                 viewRecord, expected);
    return false;
}

void compareThumbDrags(int rows)
{
    QTemporaryDir dir;
    const QString path = demo::writePositionTable(dir.path(), rows);
    GridSide grid(dir.path());
    ViewSide view(path);
    for (const int position : {thumbRange / 2, thumbRange * 9 / 10}) {
        if (!sameTarget(grid, view, position))
            continue;
        const QByteArray name =
            QStringLiteral("thumb to %1 % of %2 positions").arg(position * 100 / thumbRange).arg(rows).toUtf8();
        bench::compare(
            name.constData(), [&] { dragGrid(grid, position); }, [&] { dragView(view, position); });
    }
}

}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    {
        QTemporaryDir dir;
        const QString path = demo::writePositionTable(dir.path(), 200000);
        QTemporaryDir small;
        const QString smallPath = demo::writePositionTable(small.path(), 2000);
        pageRows = rowsShown(smallPath);
        std::printf("the base reads %d rows at once, the rows its view shows\n", pageRows);
        bench::compare(
            "open on 200000 positions", [&] { pageDownGrid(dir.path(), 0); }, [&] { pageDownView(path, 0); });
        bench::compare(
            "open on 2000 positions", [&] { pageDownGrid(small.path(), 0); }, [&] { pageDownView(smallPath, 0); });
        bench::compare(
            "page down 1000 screens", [&] { pageDownGrid(dir.path(), screens); }, [&] { pageDownView(path, screens); },
            5);
    }
    for (const int rows : {20000, 200000, 2000000})
        compareThumbDrags(rows);
    return 0;
}
