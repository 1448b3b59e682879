// Opens the library's grid on 200,000 order positions and pages down through
// 1,000 screens ("ours"), against a QTableView on a plain table model that
// reads the same SQLite rows page by page with the same keyset query
// ("base"). Both sides paint every screen. Run it from a Release build.

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

constexpr int tableRows = 200000;
constexpr int screens = 1000;
constexpr int pageRows = 64;
const QSize gridSize(900, 600);

const char *firstPage = "SELECT auftragnr, posnr, Artikelnr, Bezeichnung, menge, Einheit, epreis, gpreis, kundennr "
                        "FROM atrpos ORDER BY auftragnr, posnr LIMIT ?";
const char *nextPage = "SELECT auftragnr, posnr, Artikelnr, Bezeichnung, menge, Einheit, epreis, gpreis, kundennr "
                       "FROM atrpos WHERE auftragnr > ?1 OR (auftragnr = ?1 AND posnr > ?2) "
                       "ORDER BY auftragnr, posnr LIMIT ?3";

// A table model that knows the row count and reads pages forward by key.
class KeysetModel : public QAbstractTableModel
{
public:
    explicit KeysetModel(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        db::registerGermanCollations(m_db);
        sqlite3_stmt *count = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT COUNT(*) FROM atrpos", -1, &count, nullptr);
        sqlite3_step(count);
        m_count = sqlite3_column_int(count, 0);
        sqlite3_finalize(count);
        sqlite3_prepare_v2(m_db, firstPage, -1, &m_first, nullptr);
        sqlite3_prepare_v2(m_db, nextPage, -1, &m_next, nullptr);
    }
    ~KeysetModel() override
    {
        sqlite3_finalize(m_first);
        sqlite3_finalize(m_next);
        sqlite3_close(m_db);
    }
    int rowCount(const QModelIndex &) const override { return m_count; }
    int columnCount(const QModelIndex &) const override { return 9; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        while (index.row() >= int(m_rows.size()))
            const_cast<KeysetModel *>(this)->readPage();
        return m_rows[index.row()].value(index.column());
    }

private:
    void readPage()
    {
        sqlite3_stmt *statement = m_rows.isEmpty() ? m_first : m_next;
        sqlite3_reset(statement);
        if (m_rows.isEmpty()) {
            sqlite3_bind_int(statement, 1, pageRows);
        } else {
            const QByteArray order = m_rows.last().at(0).toUtf8();
            sqlite3_bind_text(statement, 1, order.constData(), int(order.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(statement, 2, m_rows.last().at(1).toInt());
            sqlite3_bind_int(statement, 3, pageRows);
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList row;
            for (int column = 0; column < 9; ++column)
                row.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column))));
            m_rows.append(row);
        }
    }

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_first = nullptr;
    sqlite3_stmt *m_next = nullptr;
    int m_count = 0;
    QVector<QStringList> m_rows;
};

void pageDownGrid(const QString &folder, int count)
{
    TqkTable positions;
    positions.SetDatabaseName(folder);
    positions.SetTableName(QStringLiteral("atrpos"));
    positions.Open();
    TqkDataSource source;
    source.SetDataSet(&positions);
    TqkDBGrid grid;
    grid.resize(gridSize);
    grid.SetDataSource(&source);
    grid.show();
    QApplication::processEvents();
    grid.viewport()->repaint();
    for (int screen = 0; screen < count; ++screen) {
        QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&grid, &pageDown);
        grid.viewport()->repaint();
    }
    if (count > 0 && positions.RecNo() < count)
        std::fprintf(stderr, "the grid did not page: record %d\n", positions.RecNo());
}

void pageDownView(const QString &path, int count)
{
    KeysetModel model(path);
    QTableView view;
    view.resize(gridSize);
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 3);
    view.setModel(&model);
    view.show();
    QApplication::processEvents();
    view.viewport()->repaint();
    for (int screen = 0; screen < count; ++screen) {
        view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        view.viewport()->repaint();
    }
    if (count > 0 && view.rowAt(0) < count)
        std::fprintf(stderr, "the view did not page: top row %d\n", view.rowAt(0));
}

}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = demo::writePositionTable(dir.path(), tableRows);
    QTemporaryDir small;
    const QString smallPath = demo::writePositionTable(small.path(), 2000);
    bench::compare(
        "open on 200000 positions", [&] { pageDownGrid(dir.path(), 0); }, [&] { pageDownView(path, 0); });
    bench::compare(
        "open on 2000 positions", [&] { pageDownGrid(small.path(), 0); }, [&] { pageDownView(smallPath, 0); });
    bench::compare(
        "page down 1000 screens", [&] { pageDownGrid(dir.path(), screens); }, [&] { pageDownView(path, screens); }, 5);
    return 0;
}
