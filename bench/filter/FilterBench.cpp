// Measures the library's two ways of filtering a 200,000-row position table,
// the expression filter of a library table and the filter dialog's SQL
// rewriting of a library query, against the same selection written by hand
// as one SQLite query. Both sides step through every selected record and
// read its columns; they take turns, five rounds each after one warm-up, and
// the lines give the fastest and the median round and their ratios.

#include "demo/tables/DemoRows.h"
#include "demo/tables/DemoTables.h"
#include "lib/data/Qkfltdlg.h"
#include "lib/data/Qkquery.h"
#include "lib/data/Qktable.h"
#include "platform/db/GermanCollation.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int tableRows = 200000;
constexpr int rounds = 5;

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void compare(const char *operation, const std::function<int()> &layer, const std::function<int()> &raw)
{
    int layerCount = layer(), rawCount = raw();
    std::vector<double> layerTimes, rawTimes;
    for (int i = 0; i < rounds; ++i) {
        layerTimes.push_back(seconds([&] { layerCount = layer(); }));
        rawTimes.push_back(seconds([&] { rawCount = raw(); }));
    }
    if (layerCount != rawCount)
        std::fprintf(stderr, "%s: counts differ: %d / %d\n", operation, layerCount, rawCount);
    const double layerMin = *std::min_element(layerTimes.begin(), layerTimes.end());
    const double rawMin = *std::min_element(rawTimes.begin(), rawTimes.end());
    std::printf("%-40s %6d records  min %8.2f / %8.2f ms  median %8.2f / %8.2f ms  median ratio %.2f  ratio %.2f\n",
                operation, layerCount, layerMin * 1000, rawMin * 1000, median(layerTimes) * 1000,
                median(rawTimes) * 1000, median(layerTimes) / median(rawTimes), layerMin / rawMin);
}

// Reads every column of the current row, as the layer's records are read.
void readRow(sqlite3_stmt *statement)
{
    qint64 sum = 0;
    for (int i = 0; i < sqlite3_column_count(statement); ++i)
        if (sqlite3_column_type(statement, i) == SQLITE_TEXT)
            sum += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, i))).size();
        else
            sum += qint64(sqlite3_column_double(statement, i));
    if (sum == -1)
        std::puts("");
}

int rawCount(const QString &path, const QString &sql, const QString &article)
{
    sqlite3 *handle = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
    db::registerGermanCollations(handle);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &statement, nullptr);
    const QByteArray text = article.toUtf8();
    sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    int count = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        readRow(statement);
        ++count;
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return count;
}

int stepThrough(TDataSet &dataSet)
{
    int count = 0;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        ++count;
    return count;
}

}

int main(int argc, char **argv)
{
    // The filter dialog shows its hour-glass; no screen is needed for it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    demo::writePositionTable(folder, tableRows);
    const QString path = folder + QStringLiteral("/atrpos.db");
    const QString article = demo::bulkPositionRow(3).value(QStringLiteral("Artikelnr")).toString();
    std::printf("# atrpos.db of %d rows; selection: menge > 5 and Artikelnr = %s\n", tableRows, qPrintable(article));

    compare(
        "expression filter of a library table",
        [&] {
            TqkTable table;
            table.SetDatabaseName(folder);
            table.SetTableName(QStringLiteral("atrpos.db"));
            table.SetqkFilter({QStringLiteral("menge > 5"), QStringLiteral("Artikelnr = \"%1\"").arg(article)});
            table.Open();
            return stepThrough(table);
        },
        [&] {
            return rawCount(path,
                            QStringLiteral("SELECT * FROM atrpos WHERE menge > 5 AND Artikelnr COLLATE GERMAN = ? "
                                           "ORDER BY auftragnr COLLATE GERMAN, posnr"),
                            article);
        });

    compare(
        "SQL rewriting of a library query",
        [&] {
            TqkQuery query;
            query.SetDatabaseName(folder);
            query.SetSQL({QStringLiteral("SELECT * FROM atrpos")});
            query.Open();
            TDataSource source;
            source.SetDataSet(&query);
            TqkFilterDialog dialog;
            dialog.SetDataSource(&source);
            dialog.SetFilterMethod(fdByQueryModify);
            auto exact = std::make_unique<TqkFieldInfo>();
            exact->FieldName = QStringLiteral("Artikelnr");
            exact->MatchType = fdMatchExact;
            exact->FilterValue = article;
            exact->CaseSensitive = true;
            auto range = std::make_unique<TqkFieldInfo>();
            range->FieldName = QStringLiteral("menge");
            range->MatchType = fdMatchRange;
            range->MinValue = QStringLiteral("6");
            dialog.FieldInfo().push_back(std::move(exact));
            dialog.FieldInfo().push_back(std::move(range));
            dialog.ApplyFilter();
            return stepThrough(query);
        },
        [&] {
            return rawCount(path, QStringLiteral("SELECT * FROM atrpos WHERE Artikelnr = ? AND menge >= 6"), article);
        });
    return 0;
}
