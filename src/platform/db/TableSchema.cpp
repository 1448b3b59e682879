#include "platform/db/TableSchema.h"

#include "platform/db/BlankKeys.h"
#include "platform/db/ConnectionPool.h"
#include "platform/db/GermanCollation.h"
#include "platform/db/SqliteConnection.h"
#include "platform/db/ValidityChecks.h"
#include "platform/runtime/Exceptions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cstdio>

#include <sqlite3.h>

namespace db {

namespace {

struct TypeName
{
    TFieldType type;
    const char *paradox;
    const char *affinity;
    bool sized;
};

const TypeName typeNames[] = {
    {ftString, "ALPHA", "TEXT", true},
    {ftFloat, "NUMBER", "REAL", false},
    {ftCurrency, "MONEY", "REAL", false},
    {ftSmallint, "SHORT", "INTEGER", false},
    {ftInteger, "LONG", "INTEGER", false},
    {ftWord, "WORD", "INTEGER", false},
    {ftAutoInc, "AUTOINC", "INTEGER", false},
    {ftBCD, "BCD", "REAL", true},
    {ftBoolean, "LOGICAL", "INTEGER", false},
    {ftDate, "DATE", "TEXT", false},
    {ftTime, "TIME", "TEXT", false},
    {ftDateTime, "TIMESTAMP", "TEXT", false},
    {ftMemo, "MEMO", "TEXT", true},
    {ftFmtMemo, "FMTMEMO", "BLOB", true},
    {ftBlob, "BINARY", "BLOB", true},
    {ftGraphic, "GRAPHIC", "BLOB", true},
    {ftParadoxOle, "OLE", "BLOB", true},
    {ftDBaseOle, "DBOLE", "BLOB", true},
    {ftTypedBinary, "TYPEDBINARY", "BLOB", true},
    {ftBytes, "BYTES", "BLOB", true},
    {ftVarBytes, "VARBYTES", "BLOB", true},
};

const TypeName *typeNameOf(TFieldType type)
{
    for (const TypeName &name : typeNames)
        if (name.type == type)
            return &name;
    return nullptr;
}

// A column that no Paradox type names (a table written by another program)
// gets the type its SQLite affinity suggests.
TFieldType typeByAffinity(const QString &declared)
{
    const QString upper = declared.toUpper();
    if (upper.contains(QLatin1String("INT")))
        return ftInteger;
    if (upper.contains(QLatin1String("CHAR")) || upper.contains(QLatin1String("CLOB"))
        || upper.contains(QLatin1String("TEXT")))
        return ftString;
    if (upper.contains(QLatin1String("BLOB")) || upper.isEmpty())
        return ftBlob;
    return ftFloat;
}

}

TFieldDef fieldFromDeclaration(const QString &name, const QString &declared, bool notNull)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\w+)\\s+\\w+(?:\\((\\d+)\\))?"));
    const auto match = pattern.match(declared.trimmed());
    TFieldDef def{name, typeByAffinity(declared), 0, notNull};
    if (!match.hasMatch())
        return def;
    for (const TypeName &typeName : typeNames)
        if (match.captured(1).compare(QLatin1String(typeName.paradox), Qt::CaseInsensitive) == 0) {
            def.DataType = typeName.type;
            def.Size = match.captured(2).toInt();
        }
    return def;
}

namespace {

const char *primaryIndexName = "$PRIMARY";

QString indexColumn(const TFieldDef &field, const TIndexDef &index)
{
    QString column = collatedColumn(field.Name, field.DataType, index.caseInsensitive());
    if (index.Options & ixDescending)
        column += QStringLiteral(" DESC");
    return column;
}

QString createIndexSql(const QString &tableName, const TIndexDef &index, const TFieldDefs &fields)
{
    QStringList columns;
    for (const QString &name : index.fieldList()) {
        const TFieldDef *field = fields.Find(name);
        if (!field)
            throw EDatabaseError(QStringLiteral("Index '%1': Feld '%2' nicht gefunden.").arg(index.Name, name));
        if (isBlobType(field->DataType) || field->DataType == ftMemo)
            throw EDatabaseError(
                QStringLiteral("Index '%1': Feld '%2' kann nicht indiziert werden.").arg(index.Name, name));
        columns.append(indexColumn(*field, index));
    }
    const bool unique = index.Options & (ixPrimary | ixUnique);
    const QString name = (index.Options & ixPrimary) ? QLatin1String(primaryIndexName) : index.Name;
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(unique ? QStringLiteral("UNIQUE ") : QString(), quoteIdentifier(name), quoteIdentifier(tableName),
             columns.join(QStringLiteral(", ")));
}

QString createTableSql(const QString &tableName, const TFieldDefs &fields)
{
    QStringList columns;
    for (const TFieldDef &def : fields.items()) {
        if (!typeNameOf(def.DataType))
            throw EDatabaseError(QStringLiteral("Feld '%1' hat einen nicht unterstützten Typ.").arg(def.Name));
        columns.append(quoteIdentifier(def.Name) + QLatin1Char(' ') + declaredType(def)
                       + (def.Required ? QStringLiteral(" NOT NULL") : QString()));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(tableName), columns.join(QStringLiteral(", ")));
}

TIndexDef readIndex(Connection &connection, const QString &name, bool unique, const TableSchema &schema)
{
    TIndexDef def;
    const bool primary = name == QLatin1String(primaryIndexName);
    def.Name = primary ? QString() : name;
    def.Options = primary ? (ixPrimary | ixUnique) : (unique ? ixUnique : 0);
    QStringList fields;
    Statement info = connection.prepare(
        QStringLiteral("SELECT name, desc, coll FROM pragma_index_xinfo(?) WHERE key = 1 ORDER BY seqno"));
    info.bind(1, name);
    while (info.step()) {
        const QString field = info.column(0).toString();
        fields.append(field);
        if (info.column(1).toInt())
            def.Options |= ixDescending;
        const int column = schema.fieldIndex(field);
        if (column >= 0 && isTextType(schema.fields[column].DataType)
            && info.column(2).toString() == QLatin1String(germanNoCaseCollation))
            def.Options |= ixCaseInsensitive;
    }
    def.Fields = fields.join(QLatin1Char(';'));
    return def;
}

}

QString collatedColumn(const QString &name, TFieldType type, bool caseInsensitive)
{
    QString column = quoteIdentifier(name);
    if (isTextType(type))
        column +=
            QStringLiteral(" COLLATE ") + QLatin1String(caseInsensitive ? germanNoCaseCollation : germanCollation);
    return column;
}

int TableSchema::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const TIndexDef *TableSchema::primary() const
{
    for (const TIndexDef &def : indexes)
        if (def.Options & ixPrimary)
            return &def;
    return nullptr;
}

bool isTextType(TFieldType type)
{
    return type == ftString;
}

bool isBlobType(TFieldType type)
{
    return type >= ftBlob && type <= ftTypedBinary && type != ftMemo;
}

QString declaredType(const TFieldDef &def)
{
    const TypeName *name = typeNameOf(def.DataType);
    QString declared = QLatin1String(name->paradox) + QLatin1Char(' ') + QLatin1String(name->affinity);
    if (name->sized)
        declared += QStringLiteral("(%1)").arg(def.Size);
    return declared;
}

TableSchema readSchema(Connection &connection)
{
    TableSchema schema;
    {
        Statement tables = connection.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                                             "name NOT LIKE 'sqlite%' AND name <> ? ORDER BY rowid"));
        tables.bind(1, validityCheckTable);
        if (!tables.step())
            throw EDBEngineError(
                11,
                QStringLiteral("Die Datei '%1' enthält keine Tabelle.").arg(QFileInfo(connection.path()).fileName()));
        schema.tableName = tables.column(0).toString();
    }
    {
        Statement columns =
            connection.prepare(QStringLiteral("SELECT name, type, \"notnull\" FROM pragma_table_info(?) ORDER BY cid"));
        columns.bind(1, schema.tableName);
        while (columns.step())
            schema.fields.append(fieldFromDeclaration(columns.column(0).toString(), columns.column(1).toString(),
                                                      columns.column(2).toInt() != 0));
    }
    QVector<QPair<QString, bool>> indexNames;
    {
        Statement list = connection.prepare(QStringLiteral(
            "SELECT m.name, l.\"unique\" FROM sqlite_master m JOIN pragma_index_list(?) l ON l.name = m.name "
            "WHERE m.type = 'index' AND m.sql IS NOT NULL ORDER BY m.rowid"));
        list.bind(1, schema.tableName);
        while (list.step())
            indexNames.append({list.column(0).toString(), list.column(1).toInt() != 0});
    }
    for (const auto &[name, unique] : indexNames)
        schema.indexes.append(readIndex(connection, name, unique, schema));
    return schema;
}

namespace {

struct LayoutEntry
{
    os::FileLook look;
    quint32 schemaCookie = 0;
    std::shared_ptr<const TableLayout> layout;
};

QHash<QString, LayoutEntry> &layoutCache()
{
    static QHash<QString, LayoutEntry> cache;
    return cache;
}

QString insertStatement(const TableSchema &schema, const CursorTexts &texts)
{
    const QStringList marks(int(schema.fields.size()), QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(texts.quotedTable, texts.quotedColumns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

std::shared_ptr<const TableLayout> readLayout(Connection &connection)
{
    TableSchema schema = readSchema(connection);
    QStringList columns;
    for (const TFieldDef &def : schema.fields)
        columns.append(def.Name);
    CursorTexts texts = CursorTexts::forTable(schema.tableName, columns);
    QString insertSql = insertStatement(schema, texts);
    const bool guarded = blankKeysGuarded(connection, schema);
    return std::make_shared<const TableLayout>(
        TableLayout{std::move(schema), std::move(texts), std::move(insertSql), std::nullopt, guarded});
}

}

std::shared_ptr<const TableLayout> cachedLayout(Connection &connection, const os::FileLook &look)
{
    QHash<QString, LayoutEntry> &cache = layoutCache();
    const QString &key = connection.path();
    const auto found = cache.find(key);
    // Nothing written to the file since its layout was read: the schema is
    // as it was, and the file need not be read.
    if (found != cache.end() && look.sameUnchangedFile(found->look))
        return found->layout;
    const std::optional<quint32> cookie = connection.headerSchemaCookie();
    const bool comparable = look.identity && cookie;
    if (comparable && found != cache.end() && found->look.identity == look.identity && found->schemaCookie == *cookie) {
        found->look = look;
        return found->layout;
    }
    std::shared_ptr<const TableLayout> layout = readLayout(connection);
    if (comparable)
        cache.insert(key, LayoutEntry{look, *cookie, layout});
    else
        cache.remove(key);
    return layout;
}

namespace {

// An existing table is replaced only while no other connection reads or
// writes it: the new file would take its name while the other went on
// writing into the old one, and its rows would be lost. The returned
// connection holds the lock until the new file is in place.
std::unique_ptr<Connection> lockForReplacing(const QString &path)
{
    if (!QFileInfo::exists(path))
        return nullptr;
    std::unique_ptr<Connection> existing;
    try {
        existing = Connection::openExisting(path, false);
    } catch (const EDBEngineError &) {
        return nullptr;
    }
    existing->setBusyTimeout(0);
    try {
        existing->exec(QStringLiteral("BEGIN EXCLUSIVE"));
    } catch (const EDBEngineError &error) {
        if ((error.ErrorCode() & 0xff) != SQLITE_BUSY && (error.ErrorCode() & 0xff) != SQLITE_LOCKED)
            return nullptr;
        throw EDBEngineError(SQLITE_BUSY, QStringLiteral("Tabelle '%1' wird gerade benutzt und kann nicht neu "
                                                         "angelegt werden.")
                                              .arg(QFileInfo(path).fileName()));
    }
    return existing;
}

}

void createTableFile(const QString &path, const QString &tableName, const TFieldDefs &fields, const TIndexDefs &indexes,
                     const QVector<ValidityCheck> &checks)
{
    if (fields.Count() == 0)
        throw EDatabaseError(QStringLiteral("Tabelle '%1' hat keine Felder.").arg(tableName));
    const QFileInfo target(path);
    if (!target.dir().exists())
        throw EDatabaseError(
            QStringLiteral("Verzeichnis '%1' existiert nicht.").arg(QDir::toNativeSeparators(target.absolutePath())));
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.%1-XXXXXX").arg(target.fileName()));
    if (!temporary.open())
        throw EDatabaseError(QStringLiteral("Tabelle '%1' kann nicht angelegt werden.").arg(target.fileName()));
    temporary.close();
    {
        std::unique_ptr<Connection> connection = Connection::create(temporary.fileName());
        TransactionGuard transaction(*connection);
        connection->exec(createTableSql(tableName, fields));
        for (const TIndexDef &index : indexes.items())
            connection->exec(createIndexSql(tableName, index, fields));
        if (const TIndexDef *key = indexes.Primary())
            for (const QString &trigger : blankKeyTriggers(tableName, fields.items(), *key))
                connection->exec(trigger);
        if (!checks.isEmpty())
            writeValidityChecks(*connection, fields.items(), checks);
        transaction.commit();
    }
    replaceTableFile(temporary.fileName(), path);
    temporary.setAutoRemove(false);
}

void replaceTableFile(const QString &built, const QString &path)
{
    const std::unique_ptr<Connection> replaced = lockForReplacing(path);
    if (std::rename(QFile::encodeName(built).constData(), QFile::encodeName(path).constData()) != 0)
        throw EDatabaseError(
            QStringLiteral("Tabelle '%1' kann nicht angelegt werden.").arg(QFileInfo(path).fileName()));
    layoutCache().remove(path);
    ConnectionPool::forget(path);
}

}
