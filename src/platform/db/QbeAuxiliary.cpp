#include "platform/db/QbeAuxiliary.h"

#include "platform/db/DbErrors.h"
#include "platform/db/SqliteConnection.h"
#include "platform/db/TTable.h"
#include "platform/db/TableSchema.h"
#include "platform/os/Paths.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace db {

namespace {

QStringList tablesFor(QbeChange::Kind kind)
{
    switch (kind) {
    case QbeChange::Insert:
        return {QStringLiteral("Inserted"), QStringLiteral("KeyViol")};
    case QbeChange::ChangeTo:
        return {QStringLiteral("Changed"), QStringLiteral("KeyViol")};
    default:
        return {QStringLiteral("Deleted")};
    }
}

// A record of any of the tables fits; nothing is required of it there.
void addFields(QVector<TFieldDef> &into, const QVector<TFieldDef> &fields)
{
    for (TFieldDef field : fields) {
        const bool known = std::any_of(into.cbegin(), into.cend(), [&field](const TFieldDef &kept) {
            return kept.Name.compare(field.Name, Qt::CaseInsensitive) == 0;
        });
        field.Required = false;
        if (!known)
            into.append(field);
    }
}

QString columnList(const QStringList &names)
{
    QStringList quoted;
    for (const QString &name : names)
        quoted.append(quoteIdentifier(name));
    return quoted.join(QStringLiteral(", "));
}

QString parameterList(int count)
{
    QStringList parameters;
    for (int i = 1; i <= count; ++i)
        parameters.append(QStringLiteral(":v%1").arg(i));
    return parameters.join(QStringLiteral(", "));
}

int indexOfField(const QStringList &fields, const QString &name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVector<QVariantList> rowsOf(Connection &connection, const QString &sql)
{
    QVector<QVariantList> rows;
    Statement statement = connection.prepare(sql);
    while (statement.step()) {
        QVariantList row;
        for (int i = 0; i < statement.columnCount(); ++i)
            row.append(statement.column(i));
        rows.append(row);
    }
    return rows;
}

void run(Connection &connection, const QString &sql, const QVariantList &values = {})
{
    Statement statement = connection.prepare(sql);
    statement.bindAll(values.mid(0, statement.bindParameterCount()));
    while (statement.step()) {
    }
}

// Written into every auxiliary table's header, so that a later change knows
// the file as one it may replace.
constexpr int kAuxiliaryTableMark = 0x54514158;

// An earlier table of the name keeps its spelling, so that no second file
// differing only in case appears beside it.
QString tablePathIn(const QString &folder, const QString &name)
{
    return os::resolvePath(QDir(folder).filePath(name + QStringLiteral(".db")));
}

bool isAuxiliaryTable(const QString &path)
{
    try {
        const std::unique_ptr<Connection> connection = Connection::openExisting(path, true);
        Statement mark = connection->prepare(QStringLiteral("PRAGMA application_id"));
        return mark.step() && mark.column(0).toInt() == kAuxiliaryTableMark;
    } catch (const EDBEngineError &) {
        return false;
    }
}

// One record's change in a savepoint of its own: false, with the record's
// work undone, when it would break a key.
bool changedWithinItsKeys(Connection &connection, const std::function<void()> &change)
{
    TransactionGuard record(connection);
    try {
        change();
    } catch (const EDBEngineError &error) {
        if (!breaksKey(error.ErrorCode()))
            throw;
        return false;
    }
    record.commit();
    return true;
}

}

QbeAuxiliaryTables::QbeAuxiliaryTables(const QString &folder, const QString &otherwise,
                                       const QVector<QbeChange> &changes, const FieldsOf &fieldsOf)
{
    QHash<QString, QVector<TFieldDef>> fieldsByTable;
    for (const QbeChange &change : changes) {
        const QVector<TFieldDef> fields = fieldsOf(change.table);
        QStringList names;
        for (const TFieldDef &field : fields)
            names.append(field.Name);
        m_changedFields.insert(change.table, names);
        for (const QString &table : tablesFor(change.kind)) {
            if (!m_built.contains(table))
                m_built.append(table);
            addFields(fieldsByTable[table], fields);
        }
    }
    m_folder = replacesOnlyAuxiliaryTables(folder) ? folder : otherwise;
    m_building = std::make_unique<QTemporaryDir>(QDir(m_folder).filePath(QStringLiteral(".qbe-XXXXXX")));
    if (!m_building->isValid())
        throw EDatabaseError(QStringLiteral("Im Verzeichnis '%1' können keine Hilfstabellen angelegt werden.")
                                 .arg(QDir::toNativeSeparators(m_folder)));
    for (const QString &name : std::as_const(m_built)) {
        TTable table;
        table.SetTableName(builtPath(name));
        table.FieldDefs()->setItems(fieldsByTable.value(name));
        table.CreateTable();
        Connection::openExisting(builtPath(name), false)
            ->exec(QStringLiteral("PRAGMA application_id = %1").arg(kAuxiliaryTableMark));
    }
}

bool QbeAuxiliaryTables::replacesOnlyAuxiliaryTables(const QString &folder) const
{
    return std::all_of(m_built.cbegin(), m_built.cend(), [&folder](const QString &name) {
        const QString path = tablePathIn(folder, name);
        return !QFileInfo::exists(path) || isAuxiliaryTable(path);
    });
}



QbeAuxiliaryTables::~QbeAuxiliaryTables() = default;

QString QbeAuxiliaryTables::builtPath(const QString &name) const
{
    return QDir(m_building->path()).filePath(name + QStringLiteral(".db"));
}

// Records are taken by their rowid in the changed table, so that each
// costs the same however long the table is.
QStringList QbeAuxiliaryTables::texts(const QbeChange &change) const
{
    const QString table = qbeTableSql(change.table);
    const QString fields = columnList(m_changedFields.value(change.table));
    const auto into = [this](const QString &name) { return quoteIdentifier(builtPath(name)); };
    switch (change.kind) {
    case QbeChange::Delete:
        return {QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE rowid IN (%4)")
                    .arg(into(QStringLiteral("Deleted")), fields, table, change.records),
                change.statement};
    case QbeChange::Insert: {
        const QString given = columnList(change.fields);
        const QString values = parameterList(int(change.fields.size()));
        return {change.records, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, given, values),
                QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE rowid = last_insert_rowid()")
                    .arg(into(QStringLiteral("Inserted")), fields, table),
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(into(QStringLiteral("KeyViol")), given, values)};
    }
    case QbeChange::ChangeTo: {
        QStringList assignments, changed;
        for (const QString &field : m_changedFields.value(change.table)) {
            const int at = indexOfField(change.fields, field);
            changed.append(at < 0 ? QStringLiteral("u.") + quoteIdentifier(field) : change.values[at]);
            if (at >= 0)
                assignments.append(quoteIdentifier(field) + QStringLiteral(" = ") + change.values[at]);
        }
        return {change.records,
                QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE rowid = :record")
                    .arg(into(QStringLiteral("Changed")), fields, table),
                QStringLiteral("UPDATE %1 AS u SET %2 WHERE rowid = :record")
                    .arg(table, assignments.join(QStringLiteral(", "))),
                QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 AS u WHERE rowid = :record")
                    .arg(into(QStringLiteral("KeyViol")), fields, changed.join(QStringLiteral(", ")), table)};
    }
    }
    return {};
}

void QbeAuxiliaryTables::runChange(Connection &connection, QbeChange::Kind kind, const QStringList &sql)
{
    // A deletion breaks no key: its records go in one.
    if (kind == QbeChange::Delete) {
        run(connection, sql[0]);
        run(connection, sql[1]);
        return;
    }
    for (const QVariantList &record : rowsOf(connection, sql[0]))
        if (!changedWithinItsKeys(connection, [&] {
                run(connection, sql[1], record);
                run(connection, sql[2], record);
            }))
            run(connection, sql[3], record);
}

void QbeAuxiliaryTables::putInPlace()
{
    for (const QString &name : std::as_const(m_built))
        replaceTableFile(builtPath(name), tablePathIn(m_folder, name));
}

}
