// Measures the data-set layer ("ours") against the same work done directly
// with the SQLite C API on the same files ("base"), and prints one line per
// operation ending in the ratio. Run it from a Release build.

#include "BenchRounds.h"
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

// The size of a suite's position table.
constexpr int tableRows = 500000;
// The demo builder's load-test orders hold forty positions each.
constexpr int bulkOrders = tableRows / 40 - 100;
// A table where a jump by record number has far to go.
constexpr int jumpRows = 2000000;
constexpr int insertCount = 10000;

QString bulkOrder(int index)
{
    return QStringLiteral("9%1").arg(index, 7, 10, QLatin1Char('0'));
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

// Binds an order number and a position to the first two parameters.
void bindOrderPosition(sqlite3_stmt *statement, int order, int position)
{
    const QByteArray text = bulkOrder(order).toUtf8();
    sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 2, position);
}

// One row through a kept statement, as a program that keeps its statements
// reads it.
qint64 readOne(sqlite3_stmt *statement)
{
    const qint64 sum = sqlite3_step(statement) == SQLITE_ROW ? readRow(statement) : 0;
    sqlite3_reset(statement);
    return sum;
}

// The layer's look-up of the key (order, position 25) against the same
// look-up through a statement SQLite keeps prepared, `count` times each.
void compareKeyLookups(const char *name, const QString &path, int count,
                       const std::function<qint64(int order)> &layerLookup)
{
    qint64 sink = 0;
    sqlite3 *handle = openRaw(path);
    sqlite3_stmt *statement = prepare(
        handle, (QByteArray(selectAll) + " WHERE auftragnr COLLATE GERMAN = ? AND posnr = ? LIMIT 1").constData());
    bench::compare(
        name,
        [&] {
            for (int i = 0; i < count; ++i)
                sink += layerLookup((i * 31) % bulkOrders);
        },
        [&] {
            for (int i = 0; i < count; ++i) {
                bindOrderPosition(statement, (i * 31) % bulkOrders, 25);
                sink += readOne(statement);
            }
        });
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    if (sink == 42)
        std::puts("");
}

// Opening a table for one look-up, as every print job does per document and
// look-up table: the layer keeps its connections, statements and schema
// between openings, so the raw side keeps its statement.
void benchOpenFindKey(const QString &folder, const QString &path)
{
    compareKeyLookups("open and FindKey (300x)", path, 300, [&](int order) {
        auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
        table->Open();
        table->FindKey({bulkOrder(order), 25});
        return qint64(table->FieldByName(QStringLiteral("menge"))->AsInteger());
    });
}

// Opening a table and reading its first record.
void benchOpenFirst(const QString &folder, const QString &path)
{
    constexpr int openings = 300;
    qint64 sink = 0;
    sqlite3 *handle = openRaw(path);
    sqlite3_stmt *statement =
        prepare(handle, (QByteArray(selectAll) + " ORDER BY auftragnr COLLATE GERMAN, posnr LIMIT 1").constData());
    bench::compare(
        "open and First (300x)",
        [&] {
            for (int i = 0; i < openings; ++i) {
                auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
                table->Open();
                table->First();
                sink += table->FieldByName(QStringLiteral("menge"))->AsInteger();
            }
        },
        [&] {
            for (int i = 0; i < openings; ++i)
                sink += readOne(statement);
        });
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    if (sink == 42)
        std::puts("");
}

// Locate on the key fields of a table that stays open.
void benchLocate(const QString &folder, const QString &path)
{
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    compareKeyLookups("Locate on the key (5000x)", path, 5000, [&](int order) {
        table->Locate(QStringLiteral("auftragnr;posnr"), QVariantList{bulkOrder(order), 25}, {});
        return qint64(quantity->AsInteger());
    });
}

// The grid's thumb dragged to the middle: from the first record to the
// middle one by record number, against SQLite's own OFFSET read.
void benchJump(const QString &folder)
{
    const QString jumpFolder = folder + QStringLiteral("/sprung");
    QDir().mkpath(jumpFolder);
    const double build = bench::seconds([&] { demo::writePositionTable(jumpFolder, jumpRows); });
    std::printf("# atrpos.db of %d rows built by the demo builder in %.1f s\n", jumpRows, build);
    constexpr int middle = jumpRows / 2;
    auto table = positionsTable(jumpFolder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    sqlite3 *handle = openRaw(jumpFolder + QStringLiteral("/atrpos.db"));
    sqlite3_stmt *statement = prepare(
        handle, (QByteArray(selectAll) + " ORDER BY auftragnr COLLATE GERMAN, posnr LIMIT 1 OFFSET ?").constData());
    qint64 sink = 0;
    bench::compare(
        "jump to the middle of 2000000 rows (RecNo := 1000000)",
        [&] {
            table->First();
            table->SetRecNo(middle);
            sink += quantity->AsInteger() + table->RecNo();
        },
        [&] {
            sqlite3_bind_int(statement, 1, middle - 1);
            sink += readOne(statement) + middle;
        },
        5);
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    if (sink == 42)
        std::puts("");
}

// Look-ups on a table that stays open, against a kept prepared statement.
void benchFindKey(const QString &folder, const QString &path)
{
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    compareKeyLookups("FindKey on an open table (20000x)", path, 20000, [&](int order) {
        table->FindKey({bulkOrder(order), 25});
        return qint64(quantity->AsInteger());
    });
}

void benchOpenBySize(const QString &folder, const QString &smallFolder)
{
    constexpr int rounds = 300;
    auto openMany = [&](const QString &where) {
        for (int i = 0; i < rounds; ++i) {
            auto table = positionsTable(where, QStringLiteral("atrpos.db"));
            table->Open();
            table->First();
        }
    };
    bench::compare(
        "open 500000 rows / open 100 rows (300x)", [&] { openMany(folder); }, [&] { openMany(smallFolder); });
}

// Fifty positions: the last twenty of one order and the first thirty of the next.
void benchRange(const QString &folder, const QString &path)
{
    constexpr int rounds = 500;
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
    sqlite3_stmt *statement = prepare(
        handle,
        (QByteArray(selectAll)
         + " WHERE auftragnr COLLATE GERMAN >= ?1 AND auftragnr COLLATE GERMAN <= ?2"
           " AND NOT (auftragnr COLLATE GERMAN = ?1 AND posnr < 21) AND NOT (auftragnr COLLATE GERMAN = ?2 AND posnr > 30)"
           " ORDER BY auftragnr COLLATE GERMAN, posnr")
            .constData());
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
    bench::compare("SetRange to 50 rows and step (500x)", layer, raw);
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    if (layerRows != rawRows)
        std::fprintf(stderr, "range rows differ: %d / %d\n", layerRows, rawRows);
    if (sink == 42)
        std::puts("");
}

void benchScan(const QString &folder, const QString &path)
{
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    qint64 sink = 0;
    sqlite3 *handle = openRaw(path);
    bench::compare(
        "step through the whole table",
        [&] {
            for (table->First(); !table->Eof(); table->Next())
                sink += quantity->AsInteger();
        },
        [&] {
            sqlite3_stmt *statement =
                prepare(handle, (QByteArray(selectAll) + " ORDER BY auftragnr COLLATE GERMAN, posnr").constData());
            while (sqlite3_step(statement) == SQLITE_ROW)
                sink += readRow(statement);
            sqlite3_finalize(statement);
        },
        5);
    sqlite3_close(handle);
    if (sink == 42)
        std::puts("");
}

void benchFilter(const QString &folder, const QString &path)
{
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    int layerCount = 0, rawCount = 0;
    const QString article = demo::bulkPositionRow(3).value(QStringLiteral("Artikelnr")).toString();
    sqlite3 *handle = openRaw(path);
    auto layer = [&] {
        table->SetFiltered(false);
        table->SetFilter(QStringLiteral("menge > 5 AND Artikelnr = '%1'").arg(article));
        table->SetFiltered(true);
        for (table->First(); !table->Eof(); table->Next())
            ++layerCount;
    };
    auto raw = [&] {
        sqlite3_stmt *statement = prepare(
            handle, (QByteArray(selectAll)
                     + " WHERE menge > 5 AND Artikelnr COLLATE GERMAN = ? ORDER BY auftragnr COLLATE GERMAN, posnr")
                        .constData());
        const QByteArray text = article.toUtf8();
        sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            readRow(statement);
            ++rawCount;
        }
        sqlite3_finalize(statement);
    };
    bench::compare("Filter text over the whole table", layer, raw, 5);
    sqlite3_close(handle);
    if (layerCount != rawCount)
        std::fprintf(stderr, "filter counts differ: %d / %d\n", layerCount, rawCount);
}

// A record filter of 12,000 alternatives, as a request's marked records
// make it, against the same selection written as SQLite would be given it.
void benchLongFilter(const QString &smallFolder)
{
    constexpr int alternatives = 12000;
    auto table = positionsTable(smallFolder, QStringLiteral("atrpos.db"));
    table->Open();
    QStringList terms;
    QStringList numbers;
    for (int i = 0; i < alternatives; ++i) {
        terms << QStringLiteral("posnr = %1").arg(i % 50 + 1000 * (i % 3));
        numbers << QString::number(i % 50 + 1000 * (i % 3));
    }
    const QString filter = terms.join(QStringLiteral(" OR "));
    const QByteArray query = QByteArray(selectAll) + " WHERE posnr IN (" + numbers.join(QLatin1Char(',')).toUtf8()
                             + ") ORDER BY auftragnr COLLATE GERMAN, posnr";
    sqlite3 *handle = openRaw(smallFolder + QStringLiteral("/atrpos.db"));
    int layerCount = 0, rawCount = 0;
    auto layer = [&] {
        layerCount = 0;
        table->SetFiltered(false);
        table->SetFilter(filter);
        table->SetFiltered(true);
        for (table->First(); !table->Eof(); table->Next())
            ++layerCount;
    };
    auto raw = [&] {
        rawCount = 0;
        sqlite3_stmt *statement = prepare(handle, query.constData());
        while (sqlite3_step(statement) == SQLITE_ROW) {
            readRow(statement);
            ++rawCount;
        }
        sqlite3_finalize(statement);
    };
    bench::compare("Filter text of 12,000 ORs (100 rows)", layer, raw, 5);
    sqlite3_close(handle);
    if (layerCount != rawCount)
        std::fprintf(stderr, "long filter counts differ: %d / %d\n", layerCount, rawCount);
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
    int batch = 0;
    auto layer = [&] {
        ++batch;
        TDatabase database;
        database.SetDatabaseName(layerFolder);
        database.StartTransaction();
        for (int i = 0; i < insertCount; ++i) {
            table->Append();
            order->SetAsString(QStringLiteral("%1%2").arg(batch).arg(i / 10, 7, 10, QLatin1Char('0')));
            position->SetAsInteger(i % 10);
            article->SetAsString(QStringLiteral("A%1").arg(i % 97));
            quantity->SetAsFloat(i);
            table->Post();
        }
        database.Commit();
    };
    sqlite3 *handle = openRaw(rawPath);
    int rawBatch = 0;
    auto raw = [&] {
        ++rawBatch;
        sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt *statement =
            prepare(handle, "INSERT INTO atrpos (auftragnr, posnr, Artikelnr, menge) VALUES (?, ?, ?, ?)");
        for (int i = 0; i < insertCount; ++i) {
            const QByteArray key = QStringLiteral("%1%2").arg(rawBatch).arg(i / 10, 7, 10, QLatin1Char('0')).toUtf8();
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
    };
    bench::compare("10000 inserts in one transaction", layer, raw, 5);
    sqlite3_close(handle);
}

}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString smallFolder = folder + QStringLiteral("/klein");
    QDir().mkpath(smallFolder);
    const double build = bench::seconds([&] {
        demo::writePositionTable(folder, tableRows);
        demo::writePositionTable(smallFolder, 100);
    });
    std::printf("# atrpos.db of %d rows built by the demo builder in %.1f s\n", tableRows, build);
    const QString path = folder + QStringLiteral("/atrpos.db");
    // A word on the command line runs only the benchmarks whose name holds it.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const std::vector<std::pair<QString, std::function<void()>>> benches = {
        {QStringLiteral("openfindkey"), [&] { benchOpenFindKey(folder, path); }},
        {QStringLiteral("openfirst"), [&] { benchOpenFirst(folder, path); }},
        {QStringLiteral("locate"), [&] { benchLocate(folder, path); }},
        {QStringLiteral("findkey"), [&] { benchFindKey(folder, path); }},
        {QStringLiteral("opensize"), [&] { benchOpenBySize(folder, smallFolder); }},
        {QStringLiteral("range"), [&] { benchRange(folder, path); }},
        {QStringLiteral("scan"), [&] { benchScan(folder, path); }},
        {QStringLiteral("filter"), [&] { benchFilter(folder, path); }},
        {QStringLiteral("inserts"), [&] { benchInserts(folder); }},
        {QStringLiteral("longfilter"), [&] { benchLongFilter(smallFolder); }},
        {QStringLiteral("jump"), [&] { benchJump(folder); }},
    };
    for (const auto &[name, run] : benches)
        if (only.isEmpty() || name == only)
            run();
    return 0;
}
