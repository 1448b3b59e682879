#include "platform/db/TQuery.h"

#include "platform/db/BlankKeys.h"
#include "platform/db/DbErrors.h"
#include "platform/db/EngineFilters.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/SqliteConnection.h"
#include "platform/db/TSession.h"
#include "platform/db/TableSchema.h"
#include "platform/os/Paths.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

// Each window is sixteen times the last, so that stepping through a result
// reads its rows only a little more than once however long it is.
constexpr int windowGrowth = 16;
const QString rowIdColumn = QStringLiteral("$rowid");

QString sqlString(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString tableFilePath(const QString &folder, const QString &fileName)
{
    QString name = fileName;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".db");
    const QString spelled = QFileInfo(name).isAbsolute() ? name : QDir(folder).filePath(name);
    return QFileInfo::exists(spelled) ? spelled : os::resolvePath(spelled);
}

QStringList parameterNames(const QString &sql)
{
    QStringList names;
    for (const db::SqlToken &token : db::tokenizeSql(sql))
        if (token.kind == db::SqlToken::Parameter && !names.contains(token.text.mid(1), Qt::CaseInsensitive))
            names.append(token.text.mid(1));
    return names;
}

// The type of a computed column, from the value it gives.
TFieldDef computedField(const QString &name, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return {name, ftInteger, 0, false};
    case QMetaType::Double:
        return {name, ftFloat, 0, false};
    case QMetaType::QByteArray:
        return {name, ftBlob, 0, false};
    default:
        return {name, ftString, 255, false};
    }
}

}

TSqlDataSet::TSqlDataSet(QObject *owner) : TDBDataSet(owner)
{}

TSqlDataSet::~TSqlDataSet() = default;

TQuery::TQuery(QObject *owner) : TSqlDataSet(owner)
{}

void TQuery::SetSQL(const QStringList &lines)
{
    if (Active())
        Close();
    m_sql = lines;
    m_prepared = false;
    SetSlashDateLines({}, SlashDates());
    QHash<QString, std::pair<TFieldType, QVariant>> kept;
    for (int i = 0; i < m_params.Count(); ++i)
        kept.insert(m_params.Items(i)->Name().toLower(), {m_params.Items(i)->DataType(), m_params.Items(i)->Value()});
    m_params.Clear();
    for (const QString &name : parameterNames(lines.join(QLatin1Char('\n')))) {
        const auto old = kept.value(name.toLower(), {ftUnknown, QVariant()});
        m_params.CreateParam(old.first, name)->SetValue(old.second);
    }
}

void TQuery::SetRequestLive(bool live)
{
    CheckInactive("RequestLive");
    m_requestLive = live;
}

bool TSqlDataSet::CanModify() const
{
    return Active() && isLive();
}

QString TSqlDataSet::liveTable() const
{
    const db::TableReference &table = m_text.tables[m_text.liveTable];
    QString stem = QFileInfo(table.fileName).fileName();
    if (stem.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        stem.chop(3);
    return db::quoteIdentifier(table.schema) + QLatin1Char('.') + db::quoteIdentifier(stem);
}

std::unique_ptr<db::Connection> TSqlDataSet::connect(const db::QueryText &text, bool readOnly) const
{
    auto connection = db::Connection::create(QStringLiteral(":memory:"));
    if (readOnly)
        connection->exec(QStringLiteral("PRAGMA query_only = ON"));
    for (const db::TableReference &table : text.tables) {
        const QString folder =
            Session()->ResolveDatabaseFolder(table.databaseName.isEmpty() ? DatabaseName() : table.databaseName);
        const QString path = tableFilePath(folder, table.fileName);
        if (!QFileInfo::exists(path))
            db::raiseDataSetError(this, QStringLiteral("Tabelle '%1' nicht gefunden").arg(table.fileName));
        if (!readOnly)
            db::guardBlankKeysOf(path);
        connection->exec(
            QStringLiteral("ATTACH DATABASE %1 AS %2").arg(sqlString(path), db::quoteIdentifier(table.schema)));
    }
    return connection;
}

void TSqlDataSet::bindParameters(db::Statement &statement) const
{
    for (int i = 1; i <= statement.bindParameterCount(); ++i) {
        const QString name = statement.bindParameterName(i);
        if (!name.startsWith(QLatin1Char(':')))
            continue;
        const TParam *param = m_params.FindParam(name.mid(1));
        if (!param)
            db::raiseDataSetError(this, QStringLiteral("Kein Wert für Parameter '%1'").arg(name.mid(1)));
        const QVariant value = param->IsNull() || param->DataType() == ftUnknown
                                   ? param->Value()
                                   : db::toStorage(param->DataType(), param->Value());
        statement.bind(i, value);
    }
}

void TSqlDataSet::SetSlashDateLines(const QList<int> &lines, db::SlashDateOrder order)
{
    m_slashDates.lines = lines;
    m_slashDates.linesOrder = order;
}

void TSqlDataSet::Prepare()
{
    const db::QueryText text = db::translateQueryText(queryText(), m_slashDates);
    auto connection = connect(text, true);
    connection->prepare(text.sql);
    m_prepared = true;
}

void TSqlDataSet::ExecSQL()
{
    CheckInactive("ExecSQL");
    const db::QueryText text = db::translateQueryText(queryText(), m_slashDates);
    auto connection = connect(text, false);
    db::TransactionGuard transaction(*connection);
    {
        db::Statement statement = connection->prepare(text.sql);
        bindParameters(statement);
        while (statement.step()) {
        }
    }
    m_rowsAffected = connection->changes();
    transaction.commit();
}

void TSqlDataSet::runTogether(const QStringList &texts,
                              const std::function<void(db::Connection &, const QStringList &)> &work)
{
    CheckInactive("ExecSQL");
    const QVector<db::QueryText> translated = db::translateQueryTexts(texts, m_slashDates);
    QStringList sql;
    for (const db::QueryText &text : translated)
        sql.append(text.sql);
    auto connection = connect(translated.isEmpty() ? db::QueryText() : translated.last(), false);
    db::TransactionGuard transaction(*connection);
    work(*connection, sql);
    transaction.commit();
}

// ---- reading

void TSqlDataSet::openCursor()
{
    m_text = db::translateQueryText(queryText(), m_slashDates);
    if (!m_text.isSelect)
        db::raiseDataSetError(this, QStringLiteral("Die Abfrage liefert keine Datenmenge"));
    if (isLive())
        m_text.sql.replace(m_text.sql.indexOf(QLatin1Char('*')), 1,
                           QStringLiteral("rowid AS %1, *").arg(db::quoteIdentifier(rowIdColumn)));
    m_connection = connect(m_text, !isLive());
    QVector<TFieldDef> defs;
    m_columns.clear();
    {
        db::Statement statement = m_connection->prepare(m_text.sql);
        bindParameters(statement);
        const bool any = statement.step();
        for (int i = isLive() ? 1 : 0; i < statement.columnCount(); ++i) {
            QString name = statement.columnName(i);
            while (m_columns.contains(name, Qt::CaseInsensitive))
                name += QStringLiteral("_1");
            m_columns.append(name);
            const QString declared = statement.columnDeclaredType(i);
            defs.append(declared.isEmpty() ? computedField(name, any ? statement.column(i) : QVariant())
                                           : db::fieldFromDeclaration(name, declared, false));
        }
    }
    createDataFields(defs);
    resetRows();
}

void TSqlDataSet::closeCursor()
{
    m_rows.clear();
    m_current = -1;
    m_connection.reset();
}

QString TSqlDataSet::windowSql() const
{
    return QStringLiteral("SELECT * FROM (%1)%2 LIMIT ? OFFSET ?")
        .arg(m_text.sql, m_filterSql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_filterSql.sql);
}

void TSqlDataSet::resetRows()
{
    m_rows.clear();
    m_current = -1;
    m_rawRead = 0;
    m_exhausted = false;
    m_window = 64;
}

void TSqlDataSet::fetchWindow()
{
    db::Statement statement = m_connection->prepare(windowSql());
    bindParameters(statement);
    const int count = statement.bindParameterCount();
    for (int i = 0; i < m_filterSql.values.size(); ++i)
        statement.bind(count - 1 - int(m_filterSql.values.size()) + i, m_filterSql.values[i]);
    statement.bind(count - 1, m_window);
    statement.bind(count, m_rawRead);
    int read = 0;
    const int first = isLive() ? 1 : 0;
    while (statement.step()) {
        ++read;
        db::Row row;
        row.rowId = isLive() ? statement.columnInt64(0) : m_rawRead + read;
        for (int i = first; i < statement.columnCount(); ++i)
            row.values.append(statement.column(i));
        if (!m_rowTest || acceptRow(row))
            m_rows.append(std::move(row));
    }
    m_rawRead += read;
    m_exhausted = read < m_window;
    m_window = std::min(m_window * windowGrowth, 1 << 28);
}

bool TSqlDataSet::fetchUpTo(int index)
{
    while (!m_exhausted && m_rows.size() <= index)
        fetchWindow();
    return index < m_rows.size();
}

bool TSqlDataSet::cursorFirst()
{
    m_current = fetchUpTo(0) ? 0 : -1;
    return m_current == 0;
}

bool TSqlDataSet::cursorLast()
{
    while (!m_exhausted)
        fetchWindow();
    m_current = int(m_rows.size()) - 1;
    return m_current >= 0;
}

bool TSqlDataSet::cursorNext()
{
    if (!fetchUpTo(m_current + 1))
        return false;
    ++m_current;
    return true;
}

bool TSqlDataSet::cursorPrior()
{
    if (m_current <= 0)
        return false;
    --m_current;
    return true;
}

db::Row *TSqlDataSet::cursorRow()
{
    return m_current >= 0 && m_current < m_rows.size() ? &m_rows[m_current] : nullptr;
}

QVector<db::Row> TSqlDataSet::cursorNeighbours(bool forward, int count)
{
    QVector<db::Row> rows;
    for (int i = 1; i <= count; ++i) {
        const int index = forward ? m_current + i : m_current - i;
        if (index < 0 || !fetchUpTo(index))
            break;
        rows.append(m_rows[index]);
    }
    return rows;
}

int TSqlDataSet::cursorRecordCount()
{
    if (m_rowTest) {
        while (!m_exhausted)
            fetchWindow();
        return int(m_rows.size());
    }
    db::Statement statement = m_connection->prepare(
        QStringLiteral("SELECT count(*) FROM (%1)%2")
            .arg(m_text.sql, m_filterSql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_filterSql.sql));
    bindParameters(statement);
    const int count = statement.bindParameterCount();
    for (int i = 0; i < m_filterSql.values.size(); ++i)
        statement.bind(count - int(m_filterSql.values.size()) + 1 + i, m_filterSql.values[i]);
    return statement.step() ? int(statement.columnInt64(0)) : 0;
}

void TSqlDataSet::cursorResync()
{
    const qint64 rowId = cursorRow() ? cursorRow()->rowId : 0;
    resetRows();
    if (!cursorGotoRowId(rowId))
        cursorFirst();
}

bool TSqlDataSet::cursorGotoRowId(qint64 rowId)
{
    for (int i = 0;; ++i) {
        if (!fetchUpTo(i))
            return false;
        if (m_rows[i].rowId == rowId) {
            m_current = i;
            return true;
        }
    }
}

std::optional<db::Row> TSqlDataSet::cursorReadRow(qint64 rowId)
{
    for (const db::Row &row : std::as_const(m_rows))
        if (row.rowId == rowId)
            return row;
    return std::nullopt;
}

void TSqlDataSet::applyFilters()
{
    m_filterSql = {};
    db::SqlCondition condition;
    const bool filtered = Filtered() && Active();
    const bool translated = filtered && filterExpression() && filterExpression()->toSql(condition);
    m_filterSql = db::andConditions(translated ? condition : db::SqlCondition{}, engineFilters().sqlCondition());
    m_rowTest =
        (filtered && ((filterExpression() && !translated) || OnFilterRecord())) || engineFilters().needsRowTest();
    resetRows();
    cursorFirst();
}

// ---- writing a live result

void TSqlDataSet::cursorPost(db::Row &row, bool inserting, const db::Row &)
{
    if (!isLive())
        TDBDataSet::cursorPost(row, inserting, row);
    QStringList columns, marks;
    for (const QString &name : std::as_const(m_columns)) {
        columns.append(db::quoteIdentifier(name));
        marks.append(inserting ? QStringLiteral("?") : db::quoteIdentifier(name) + QStringLiteral(" = ?"));
    }
    const QString sql =
        inserting ? QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(liveTable(), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                  : QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(liveTable(), marks.join(QLatin1Char(',')));
    db::TransactionGuard transaction(*m_connection);
    {
        db::Statement statement = m_connection->prepare(sql);
        statement.bindAll(QVariantList(row.values.begin(), row.values.end()));
        if (!inserting)
            statement.bind(int(row.values.size()) + 1, row.rowId);
        statement.step();
    }
    if (inserting)
        row.rowId = m_connection->lastInsertRowId();
    transaction.commit();
    if (inserting) {
        m_rows.append(row);
        m_current = int(m_rows.size()) - 1;
    } else if (db::Row *current = cursorRow()) {
        *current = row;
    }
}

void TSqlDataSet::cursorDelete()
{
    if (!isLive())
        TDBDataSet::cursorDelete();
    db::TransactionGuard transaction(*m_connection);
    {
        db::Statement statement =
            m_connection->prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(liveTable()));
        statement.bind(1, cursorRow()->rowId);
        statement.step();
    }
    transaction.commit();
    m_rows.remove(m_current);
    if (m_current >= m_rows.size() && !fetchUpTo(m_current))
        m_current = int(m_rows.size()) - 1;
}

// ---- stored procedures

namespace {

QHash<QString, TStoredProcedure> &procedures()
{
    static QHash<QString, TStoredProcedure> registry;
    return registry;
}

}

void registerStoredProcedure(const QString &name, TStoredProcedure procedure)
{
    procedures().insert(name.toLower(), std::move(procedure));
}

void unregisterStoredProcedure(const QString &name)
{
    procedures().remove(name.toLower());
}

TStoredProc::TStoredProc(QObject *owner) : TDBDataSet(owner)
{}

TStoredProcedure TStoredProc::procedure() const
{
    const TStoredProcedure found = procedures().value(m_name.toLower());
    if (!found)
        db::raiseDataSetError(this, QStringLiteral("Gespeicherte Prozedur '%1' nicht gefunden").arg(m_name));
    return found;
}

void TStoredProc::Prepare()
{
    procedure();
}

void TStoredProc::ExecProc()
{
    procedure()(m_params);
}

void TStoredProc::openCursor()
{
    procedure();
    db::raiseDataSetError(this, QStringLiteral("Die gespeicherte Prozedur '%1' liefert keine Datenmenge").arg(m_name));
}
