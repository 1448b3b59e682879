// Measures the data-set layer against the same work done directly with the
// SQLite C API on the same files, and prints one line per operation with
// the ratio layer/raw. Run it from a Release build.

#include "platform/db/GermanCollation.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int orders = 4000;
constexpr int positionsPerOrder = 50;
constexpr int insertCount = 10000;

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

void createPositions(const QString &folder, const QString &name, int orderCount)
{
    auto table = positionsTable(folder, name);
    TFieldDefs &fields = *table->FieldDefs();
    fields.AddParadox(QStringLiteral("auftragnr"), QStringLiteral("I"));
    fields.AddParadox(QStringLiteral("posnr"), QStringLiteral("S"));
    fields.AddParadox(QStringLiteral("Artikelnr"), QStringLiteral("A15"));
    fields.AddParadox(QStringLiteral("Bezeichnung"), QStringLiteral("A40"));
    fields.AddParadox(QStringLiteral("menge"), QStringLiteral("N"));
    fields.AddParadox(QStringLiteral("epreis"), QStringLiteral("$"));
    fields.AddParadox(QStringLiteral("kundennr"), QStringLiteral("I"));
    table->IndexDefs()->Add(QString(), QStringLiteral("auftragnr;posnr"), ixPrimary | ixUnique);
    table->IndexDefs()->Add(QStringLiteral("APOARTNR"), QStringLiteral("Artikelnr"), 0);
    table->CreateTable();
    table->Open();
    TDatabase database;
    database.SetDatabaseName(folder);
    database.StartTransaction();
    TField *order = table->FieldByName(QStringLiteral("auftragnr"));
    TField *position = table->FieldByName(QStringLiteral("posnr"));
    TField *article = table->FieldByName(QStringLiteral("Artikelnr"));
    TField *text = table->FieldByName(QStringLiteral("Bezeichnung"));
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    TField *price = table->FieldByName(QStringLiteral("epreis"));
    TField *customer = table->FieldByName(QStringLiteral("kundennr"));
    for (int o = 1; o <= orderCount; ++o) {
        for (int p = 1; p <= positionsPerOrder; ++p) {
            table->Append();
            order->SetAsInteger(o);
            position->SetAsInteger(p);
            article->SetAsString(QStringLiteral("A%1").arg((o * 7 + p) % 97));
            text->SetAsString(QStringLiteral("Schraube Größe %1").arg(p));
            quantity->SetAsFloat(p);
            price->SetAsFloat(0.25 * p);
            customer->SetAsInteger(o % 300);
            table->Post();
        }
    }
    database.Commit();
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

const char *selectAll = "SELECT rowid, auftragnr, posnr, Artikelnr, Bezeichnung, menge, epreis, kundennr FROM atrpos";

// Reads every column of the current row, as the layer's window does.
qint64 readRow(sqlite3_stmt *statement)
{
    qint64 sum = sqlite3_column_int64(statement, 1);
    const int columns = sqlite3_column_count(statement);
    for (int i = 2; i < columns; ++i)
        if (sqlite3_column_type(statement, i) == SQLITE_TEXT)
            sum += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, i))).size();
        else
            sum += qint64(sqlite3_column_double(statement, i));
    return sum;
}

void benchOpenFindKey(const QString &folder, const QString &path)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(1, orders);
    constexpr int rounds = 300;
    qint64 sink = 0;
    const double layer = seconds([&] {
        for (int i = 0; i < rounds; ++i) {
            auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
            table->Open();
            table->FindKey({pick(random), 25});
            sink += table->FieldByName(QStringLiteral("menge"))->AsInteger();
        }
    });
    random.seed(7);
    const double raw = seconds([&] {
        for (int i = 0; i < rounds; ++i) {
            sqlite3 *handle = openRaw(path);
            sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) + " WHERE auftragnr = ? AND posnr = ?").constData());
            sqlite3_bind_int(statement, 1, pick(random));
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

void benchOpenBySize(const QString &folder)
{
    constexpr int rounds = 300;
    auto openMany = [&](const QString &name) {
        return seconds([&] {
            for (int i = 0; i < rounds; ++i) {
                auto table = positionsTable(folder, name);
                table->Open();
            }
        });
    };
    const double big = openMany(QStringLiteral("atrpos.db"));
    const double small = openMany(QStringLiteral("klein.db"));
    report("open 200000 rows / open 100 rows (300x)", big, small);
}

void benchRange(const QString &folder, const QString &path)
{
    constexpr int rounds = 500;
    auto table = positionsTable(folder, QStringLiteral("atrpos.db"));
    table->Open();
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    qint64 sink = 0;
    const double layer = seconds([&] {
        for (int i = 0; i < rounds; ++i) {
            const int order = 1 + (i * 37) % orders;
            table->SetRange({order}, {order});
            for (table->First(); !table->Eof(); table->Next())
                sink += quantity->AsInteger();
        }
    });
    sqlite3 *handle = openRaw(path);
    sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) + " WHERE auftragnr = ? ORDER BY auftragnr, posnr").constData());
    const double raw = seconds([&] {
        for (int i = 0; i < rounds; ++i) {
            sqlite3_bind_int(statement, 1, 1 + (i * 37) % orders);
            while (sqlite3_step(statement) == SQLITE_ROW)
                sink += readRow(statement);
            sqlite3_reset(statement);
        }
    });
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    report("SetRange to 50 rows and step (500x)", layer, raw);
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
        sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) + " ORDER BY auftragnr, posnr").constData());
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
    const double layer = seconds([&] {
        table->SetFilter(QStringLiteral("menge > 40 AND Artikelnr = 'A7'"));
        table->SetFiltered(true);
        for (table->First(); !table->Eof(); table->Next())
            ++layerCount;
    });
    sqlite3 *handle = openRaw(path);
    const double raw = seconds([&] {
        sqlite3_stmt *statement = prepare(handle, (QByteArray(selectAll) +
                                                   " WHERE menge > 40 AND Artikelnr COLLATE GERMAN = 'A7' ORDER BY auftragnr, posnr").constData());
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
    createPositions(folder, QStringLiteral("neu.db"), 0);
    createPositions(folder, QStringLiteral("neuroh.db"), 0);
    auto table = positionsTable(folder, QStringLiteral("neu.db"));
    table->Open();
    TField *order = table->FieldByName(QStringLiteral("auftragnr"));
    TField *position = table->FieldByName(QStringLiteral("posnr"));
    TField *article = table->FieldByName(QStringLiteral("Artikelnr"));
    TField *quantity = table->FieldByName(QStringLiteral("menge"));
    const double layer = seconds([&] {
        TDatabase database;
        database.SetDatabaseName(folder);
        database.StartTransaction();
        for (int i = 0; i < insertCount; ++i) {
            table->Append();
            order->SetAsInteger(i / 10);
            position->SetAsInteger(i % 10);
            article->SetAsString(QStringLiteral("A%1").arg(i % 97));
            quantity->SetAsFloat(i);
            table->Post();
        }
        database.Commit();
    });
    sqlite3 *handle = openRaw(folder + QStringLiteral("/neuroh.db"));
    const double raw = seconds([&] {
        sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt *statement = prepare(handle, "INSERT INTO neuroh (auftragnr, posnr, Artikelnr, Bezeichnung, menge, epreis, kundennr) VALUES (?, ?, ?, NULL, ?, NULL, NULL)");
        for (int i = 0; i < insertCount; ++i) {
            sqlite3_bind_int(statement, 1, i / 10);
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
    const double build = seconds([&] {
        createPositions(folder, QStringLiteral("atrpos.db"), orders);
        createPositions(folder, QStringLiteral("klein.db"), 2);
    });
    std::printf("# table of %d rows built through the layer in %.1f s\n", orders * positionsPerOrder, build);
    const QString path = folder + QStringLiteral("/atrpos.db");
    benchOpenFindKey(folder, path);
    benchOpenBySize(folder);
    benchRange(folder, path);
    benchScan(folder, path);
    benchFilter(folder, path);
    benchInserts(folder);
    return 0;
}
