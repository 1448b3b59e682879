// Measures the data-set layer against the same work done directly with the
// SQLite C API on the same files, and prints one line per operation with
// the ratio layer/raw. Run it from a Release build.

#include "demo/tables/DemoTables.h"
#include "platform/db/GermanCollation.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>

namespace {

constexpr int tableRows = 200000;
// The demo builder's load-test orders hold forty positions each.
constexpr int bulkOrders = 4900;
constexpr int insertCount = 10000;

QString bulkOrder(int index)
{
    return QStringLiteral("9%1").arg(index, 7, 10, QLatin1Char('0'));
}

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// On a shared machine one pass of either side may be slowed by other work;
// the sides take turns and each keeps its fastest pass.
std::pair<double, double> fastestOfTurns(int turns, const std::function<void()> &layer,
                                         const std::function<void()> &raw)
{
    double bestLayer = std::numeric_limits<double>::max();
    double bestRaw = std::numeric_limits<double>::max();
    for (int i = 0; i < turns; ++i) {
        bestLayer = std::min(bestLayer, seconds(layer));
        bestRaw = std::min(bestRaw, seconds(raw));
    }
    return {bestLayer, bestRaw};
}

void report(const char *operation, double layer, double raw)
{
    std::printf("%-44s layer %9.3f ms  raw %9.3f ms  ratio %.2f\n", operation, layer * 1000, raw * 1000, layer / raw);
}

std::unique_ptr<TTable> positionsTable(const QString &folder, const QString &name)
{
    auto table = std::make_unique<TTable>();
    table->SetDatabaseName(folder);
    table->SetTableName(name);
    return table;
}

// The raw side opens its own connection with the collations the indexes use.
sqlite3 *openRaw(const QString &path)
{
    sqlite3 *handle = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(handle, 10000);
    db::registerGermanCollations(handle);
    return handle;
}

sqlite3_stmt *prepare(sqlite3 *handle, const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) != SQLITE_OK)
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(handle));
    return statement;
}

const char *selectAll = "SELECT rowid, auftragnr, posnr, Artikelnr, Bezeichnung, Text, menge, Einheit, epreis, "
                        "epreisWae, gpreis, gpreisWae, steuersatz, posdruck, kundennr FROM atrpos";

// Reads every column of the current row, as the layer's window does.
qint64 readRow(sqlite3_stmt *statement)
{
    qint64 sum = sqlite3_column_int64(statement, 0);
    const int columns = sqlite3_column_count(statement);
    for (int i = 1; i < columns; ++i)
        if (sqlite3_column_type(statement, i) == SQLITE_TEXT)
            sum += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, i))).size();
        else
            sum += qint64(sqlite3_column_double(statement, i));
    return sum;
}

void benchOpenFindKey(const QString &folder, const QString &path)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, bulkOrders - 1);
    constexpr int rounds = 300;
    qint64 sink = 0;
    const double layer = seconds([&] {
        for (int i = 0; i < rounds; ++i) {
            auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
            table->Open();
            table->FindKey({bulkOrder(pick(random)), 25});
            sink += table->FieldByName(QStringLiteral("menge"))->AsInteger();
        }
    });
    random.seed(7);
    const double raw = seconds([&] {
        for (int i = 0; i < rounds; ++i) {
            sqlite3 *handle = openRaw(path);
            sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) + " WHERE auftragnr COLLATE GERMAN = ? AND posnr = ?").constData());
            const QByteArray order = bulkOrder(pick(random)).toUtf8();
            sqlite3_bind_text(statement, 1, order.constData(), int(order.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(statement, 2, 25);
            if (sqlite3_step(statement) == SQLITE_ROW)
                sink += readRow(statement);
            sqlite3_finalize(statement);
            sqlite3_close(handle);
        }
    });
    report("open and FindKey (300x)", layer, raw);
    if (sink == 42)
        std::puts("");
}

void benchOpenBySize(const QString &folder, const QString &smallFolder)
{
    constexpr int rounds = 300;
    auto openMany = [&](const QString &where) {
        return seconds([&] {
            for (int i = 0; i < rounds; ++i) {
                auto table = positionsTable(where, QStringLiteral("atrpos.db"));
                table->Open();
                table->First();
            }
        });
    };
    const double big = openMany(folder);
    const double small = openMany(smallFolder);
    report("open 200000 rows / open 100 rows (300x)", big, small);
}

// Fifty positions: the last twenty of one order and the first thirty of the next.
void benchRange(const QString &folder, const QString &path)
{
    constexpr int rounds = 500;
    constexpr int turns = 3;
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    qint64 sink = 0;
    int layerRows = 0, rawRows = 0;
    auto layer = [&] {
        for (int i = 0; i < rounds; ++i) {
            const int order = (i * 37) % (bulkOrders - 1);
            table->SetRange({bulkOrder(order), 21}, {bulkOrder(order + 1), 30});
            for (table->First(); !table->Eof(); table->Next()) {
                sink += quantity->AsInteger();
                ++layerRows;
            }
        }
    };
    sqlite3 *handle = openRaw(path);
    sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) +
        " WHERE auftragnr COLLATE GERMAN >= ?1 AND auftragnr COLLATE GERMAN <= ?2"
        " AND NOT (auftragnr COLLATE GERMAN = ?1 AND posnr < 21) AND NOT (auftragnr COLLATE GERMAN = ?2 AND posnr > 30)"
        " ORDER BY auftragnr COLLATE GERMAN, posnr").constData());
    auto raw = [&] {
        for (int i = 0; i < rounds; ++i) {
            const int order = (i * 37) % (bulkOrders - 1);
            const QByteArray low = bulkOrder(order).toUtf8();
            const QByteArray high = bulkOrder(order + 1).toUtf8();
            sqlite3_bind_text(statement, 1, low.constData(), int(low.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(statement, 2, high.constData(), int(high.size()), SQLITE_TRANSIENT);
            while (sqlite3_step(statement) == SQLITE_ROW) {
                sink += readRow(statement);
                ++rawRows;
            }
            sqlite3_reset(statement);
        }
    };
    const auto [layerTime, rawTime] = fastestOfTurns(turns, layer, raw);
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    if (layerRows != rawRows || layerRows != turns * rounds * 50)
        std::fprintf(stderr, "range rows differ: %d / %d\n", layerRows, rawRows);
    report("SetRange to 50 rows and step (500x)", layerTime, rawTime);
    if (sink == 42)
        std::puts("");
}

void benchScan(const QString &folder, const QString &path)
{
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    qint64 sink = 0;
    const double layer = seconds([&] {
        for (table->First(); !table->Eof(); table->Next())
            sink += quantity->AsInteger();
    });
    sqlite3 *handle = openRaw(path);
    const double raw = seconds([&] {
        sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) + " ORDER BY auftragnr COLLATE GERMAN, posnr").constData());
        while (sqlite3_step(statement) == SQLITE_ROW)
            sink += readRow(statement);
        sqlite3_finalize(statement);
    });
    sqlite3_close(handle);
    report("step through the whole table", layer, raw);
    if (sink == 42)
        std::puts("");
}

void benchFilter(const QString &folder, const QString &path)
{
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    int layerCount = 0, rawCount = 0;
    const QString article = demo::bulkPositionRow(3).value(QStringLiteral("Artikelnr")).toString();
    const double layer = seconds([&] {
        table->SetFilter(QStringLiteral("menge > 5 AND Artikelnr = '%1'").arg(article));
        table->SetFiltered(true);
        for (table->First(); !table->Eof(); table->Next())
            ++layerCount;
    });
    sqlite3 *handle = openRaw(path);
    const double raw = seconds([&] {
        sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) +
                                                   " WHERE menge > 5 AND Artikelnr COLLATE GERMAN = ? ORDER BY auftragnr COLLATE GERMAN, posnr").constData());
        const QByteArray text = article.toUtf8();
        sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            readRow(statement);
            ++rawCount;
        }
        sqlite3_finalize(statement);
    });
    sqlite3_close(handle);
    if (layerCount != rawCount)
        std::fprintf(stderr, "filter counts differ: %d / %d\n", layerCount, rawCount);
    report("Filter text over the whole table", layer, raw);
}

void benchInserts(const QString &folder)
{
    const QString layerFolder = folder + QStringLiteral("/layer");
    const QString rawFolder = folder + QStringLiteral("/raw");
    QDir().mkpath(layerFolder);
    QDir().mkpath(rawFolder);
    demo::writePositionTable(layerFolder, 0);
    const QString rawPath = demo::writePositionTable(rawFolder, 0);
    auto table = positionsTable(layerFolder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *order = table->FieldByName(QStringLiteral("auftragnr"));
    TField *position = table->FieldByName(QStringLiteral("posnr"));
    TField *article = table->FieldByName(QStringLiteral("Artikelnr"));
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    const double layer = seconds([&] {
        TDatabase database;
        database.SetDatabaseName(layerFolder);
        database.StartTransaction();
        for (int i = 0; i < insertCount; ++i) {
            table->Append();
            order->SetAsString(QStringLiteral("8%1").arg(i / 10, 7, 10, QLatin1Char('0')));
            position->SetAsInteger(i % 10);
            article->SetAsString(QStringLiteral("A%1").arg(i % 97));
            quantity->SetAsFloat(i);
            table->Post();
        }
        database.Commit();
    });
    sqlite3 *handle = openRaw(rawPath);
    const double raw = seconds([&] {
        sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt *statement = prepare(handle, "INSERT INTO atrpos (auftragnr, posnr, Artikelnr, menge) VALUES (?, ?, ?, ?)");
        for (int i = 0; i < insertCount; ++i) {
            const QByteArray key = QStringLiteral("8%1").arg(i / 10, 7, 10, QLatin1Char('0')).toUtf8();
            sqlite3_bind_text(statement, 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(statement, 2, i % 10);
            const QByteArray text = QStringLiteral("A%1").arg(i % 97).toUtf8();
            sqlite3_bind_text(statement, 3, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            sqlite3_bind_double(statement, 4, i);
            sqlite3_step(statement);
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    });
    sqlite3_close(handle);
    report("10000 inserts in one transaction", layer, raw);
}

}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString smallFolder = folder + QStringLiteral("/klein");
    QDir().mkpath(smallFolder);
    const double build = seconds([&] {
        demo::writePositionTable(folder, tableRows);
        demo::writePositionTable(smallFolder, 100);
    });
    std::printf("# atrpos.db of %d rows built by the demo builder in %.1f s\n", tableRows, build);
    const QString path = folder + QStringLiteral("/atrpos.db");
    benchOpenFindKey(folder, path);
    benchOpenBySize(folder, smallFolder);
    benchRange(folder, path);
    benchScan(folder, path);
    benchFilter(folder, path);
    benchInserts(folder);
    return 0;
}
