#include "platform/db/BlankKeys.h"

#include "platform/db/ConnectionPool.h"
#include "platform/db/SqliteConnection.h"
#include "platform/db/TableSchema.h"
#include "platform/os/FileWatch.h"
#include "platform/runtime/Exceptions.h"

#include <sqlite3.h>

namespace db {

namespace {

const char *insertTrigger = "$BLANKKEY_INSERT";
const char *updateTrigger = "$BLANKKEY_UPDATE";

QStringList joinedFor(const QStringList &names, const QString &pattern)
{
    QStringList parts;
    for (const QString &name : names)
        parts.append(pattern.arg(quoteIdentifier(name)));
    return parts;
}

// Compared as the key's index compares them, so that the index finds the
// record and a key differing only where the index sees no difference counts
// as the same.
QString sameKey(const QVector<TFieldDef> &fields, const TIndexDef &key)
{
    const auto typeOf = [&fields](const QString &name) {
        for (const TFieldDef &def : fields)
            if (def.Name.compare(name, Qt::CaseInsensitive) == 0)
                return def.DataType;
        return ftUnknown;
    };
    QStringList parts;
    for (const QString &name : key.fieldList())
        parts.append(collatedColumn(name, typeOf(name), key.caseInsensitive()) + QStringLiteral(" IS NEW.")
                     + quoteIdentifier(name));
    return parts.join(QStringLiteral(" AND "));
}

}

QStringList blankKeyTriggers(const QString &tableName, const QVector<TFieldDef> &fields, const TIndexDef &key)
{
    const QStringList names = key.fieldList();
    const QString table = quoteIdentifier(tableName);
    const QString anyBlank = joinedFor(names, QStringLiteral("NEW.%1 IS NULL")).join(QStringLiteral(" OR "));
    const QString refusal =
        QStringLiteral("SELECT RAISE(ABORT, 'Schlüsselverletzung.') FROM %1 WHERE %2").arg(table, sameKey(fields, key));
    return {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 BEFORE INSERT ON %2 WHEN %3 BEGIN %4 LIMIT 1; END")
            .arg(quoteIdentifier(QLatin1String(insertTrigger)), table, anyBlank, refusal),
        // A record whose key stays as it was is not held to a key that other
        // records shared before the table was guarded.
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 BEFORE UPDATE OF %2 ON %3 WHEN (%4) AND (%5) "
                       "BEGIN %6 AND rowid <> NEW.rowid LIMIT 1; END")
            .arg(quoteIdentifier(QLatin1String(updateTrigger)),
                 joinedFor(names, QStringLiteral("%1")).join(QStringLiteral(", ")), table, anyBlank,
                 joinedFor(names, QStringLiteral("NEW.%1 IS NOT OLD.%1")).join(QStringLiteral(" OR ")), refusal),
    };
}

bool blankKeysGuarded(Connection &connection, const TableSchema &schema)
{
    if (!schema.primary())
        return true;
    Statement triggers = connection.prepare(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ? AND name IN (?, ?)"));
    triggers.bindAll({schema.tableName, QLatin1String(insertTrigger), QLatin1String(updateTrigger)});
    triggers.step();
    return triggers.columnInt64(0) == 2;
}

bool guardBlankKeys(Connection &connection, const TableSchema &schema)
{
    if (blankKeysGuarded(connection, schema))
        return true;
    try {
        TransactionGuard transaction(connection);
        for (const QString &sql : blankKeyTriggers(schema.tableName, schema.fields, *schema.primary()))
            connection.exec(sql);
        transaction.commit();
    } catch (const EDBEngineError &error) {
        if ((error.ErrorCode() & 0xff) != SQLITE_READONLY)
            throw;
        return false;
    }
    return true;
}

void guardBlankKeysOf(const QString &path)
{
    const os::FileLook look = os::lookAtFile(path);
    std::unique_ptr<Connection> connection = ConnectionPool::acquire(path, look.identity, false);
    const std::shared_ptr<const TableLayout> layout = cachedLayout(*connection, look);
    if (!layout->blankKeysGuarded)
        layout->blankKeysGuarded = guardBlankKeys(*connection, layout->schema);
    if (look.identity)
        ConnectionPool::release(std::move(connection), *look.identity);
}

}
