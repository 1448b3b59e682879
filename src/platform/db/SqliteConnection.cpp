#include "platform/db/SqliteConnection.h"

#include "platform/db/GermanCollation.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <sqlite3.h>

namespace db {

namespace {

constexpr int busyTimeoutMs = 10000;
// A connection and its statements serve the thread that opened them (the pool
// is not shared between threads), so SQLite need not lock on every call.
constexpr int singleThread = SQLITE_OPEN_NOMUTEX;
const QByteArray sqliteMagic("SQLite format 3\0", 16);

QString engineMessage(int code, sqlite3 *handle)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Tabelle ist von einem anderen Benutzer gesperrt.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Die Tabellendatei ist beschädigt oder keine Tabelle.");
    case SQLITE_READONLY:
        if (code == SQLITE_READONLY_ROLLBACK)
            return QStringLiteral("Die Tabelle wurde bei einem Abbruch nicht fertig geschrieben und kann ohne "
                                  "Schreibrecht nicht wiederhergestellt werden.");
        return QStringLiteral("Die Tabelle ist schreibgeschützt.");
    case SQLITE_PERM:
        return QStringLiteral("Die Tabelle ist schreibgeschützt.");
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Tabelle kann nicht geöffnet werden.");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("Schlüsselverletzung.");
    default:
        return QStringLiteral("Datenbankfehler: %1").arg(QString::fromUtf8(sqlite3_errmsg(handle)));
    }
}

bool looksLikeSqlite(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() == 0)
        return false;
    return file.read(16) == sqliteMagic;
}

// A writer that ended in the middle of a transaction leaves its journal
// behind; only a writable connection can roll it back, so one does that
// before the table is opened for reading. Without the right to write, the
// read-only opening reports what happened.
void recoverHotJournal(const QString &path)
{
    if (QFileInfo(path + QStringLiteral("-journal")).size() == 0)
        return;
    sqlite3 *handle = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE | singleThread, nullptr)
        == SQLITE_OK) {
        sqlite3_busy_timeout(handle, busyTimeoutMs);
        sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(handle);
}

}

Statement::Statement(sqlite3 *connection, sqlite3_stmt *statement) : m_connection(connection), m_statement(statement)
{}

Statement::~Statement()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

void Statement::bind(int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(m_statement, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        sqlite3_bind_int64(m_statement, index, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(m_statement, index, value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob64(m_statement, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text64(m_statement, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                            SQLITE_UTF8);
    }
    }
}

void Statement::bindAll(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values[i]);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const int code = sqlite3_extended_errcode(m_connection);
    sqlite3_reset(m_statement);
    throw EDBEngineError(code, engineMessage(code, m_connection));
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QVariant Statement::column(int index) const
{
    switch (sqlite3_column_type(m_statement, index)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_statement, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, index));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_statement, index)),
                                          sqlite3_column_bytes(m_statement, index)));
    case SQLITE_BLOB: {
        const char *data = static_cast<const char *>(sqlite3_column_blob(m_statement, index));
        return QVariant(QByteArray(data ? data : "", sqlite3_column_bytes(m_statement, index)));
    }
    default:
        return QVariant();
    }
}

QString Statement::columnName(int index) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, index));
}

QString Statement::columnDeclaredType(int index) const
{
    return QString::fromUtf8(sqlite3_column_decltype(m_statement, index));
}

int Statement::bindParameterCount() const
{
    return sqlite3_bind_parameter_count(m_statement);
}

QString Statement::bindParameterName(int index) const
{
    return QString::fromUtf8(sqlite3_bind_parameter_name(m_statement, index));
}

qint64 Statement::columnInt64(int index) const
{
    return sqlite3_column_int64(m_statement, index);
}

Connection::Connection(sqlite3 *handle, QString path) : m_handle(handle), m_path(std::move(path))
{}

Connection::~Connection()
{
    for (sqlite3_stmt *statement : std::as_const(m_cache))
        sqlite3_finalize(statement);
    sqlite3_close_v2(m_handle);
}

void Connection::configure(sqlite3 *handle)
{
    sqlite3_busy_timeout(handle, busyTimeoutMs);
    registerGermanCollations(handle);
    registerGermanFunctions(handle);
}

std::unique_ptr<Connection> Connection::openExisting(const QString &path, bool readOnly)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path))
        throw EDBEngineError(SQLITE_CANTOPEN, QStringLiteral("Tabelle '%1' nicht gefunden.").arg(name));
    if (!looksLikeSqlite(path))
        throw EDBEngineError(SQLITE_NOTADB, QStringLiteral("Die Datei '%1' ist keine gültige Tabelle.").arg(name));
    if (readOnly)
        recoverHotJournal(path);
    sqlite3 *handle = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | singleThread;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags, nullptr);
    std::unique_ptr<Connection> connection(new Connection(handle, path));
    connection->m_readOnly = readOnly;
    if (rc != SQLITE_OK)
        connection->raise(rc, name);
    configure(handle);
    return connection;
}

std::unique_ptr<Connection> Connection::create(const QString &path)
{
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | singleThread, nullptr);
    std::unique_ptr<Connection> connection(new Connection(handle, path));
    if (rc != SQLITE_OK)
        connection->raise(rc, QFileInfo(path).fileName());
    configure(handle);
    return connection;
}

void Connection::setBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_handle, milliseconds);
}

void Connection::raise(int code, const QString &context) const
{
    const int extended = sqlite3_extended_errcode(m_handle);
    const QString message = engineMessage(code, m_handle);
    throw EDBEngineError(extended ? extended : code,
                         context.isEmpty() ? message : context + QStringLiteral(": ") + message);
}

Statement Connection::prepare(const QString &sql)
{
    sqlite3_stmt *statement = m_cache.value(sql);
    if (!statement) {
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v3(m_handle, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT,
                                          &statement, nullptr);
        if (rc != SQLITE_OK)
            raise(rc, QFileInfo(m_path).fileName());
        m_cache.insert(sql, statement);
    }
    return Statement(m_handle, statement);
}

void Connection::exec(const QString &sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_handle, sql.toUtf8().constData(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        raise(rc, QFileInfo(m_path).fileName());
}

// Nested transactions are savepoints, so that a failed write inside a
// longer transaction undoes only itself.
void Connection::begin()
{
    exec(m_transactionDepth == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                                 : QStringLiteral("SAVEPOINT level%1").arg(m_transactionDepth));
    ++m_transactionDepth;
}

void Connection::commit()
{
    if (m_transactionDepth == 0)
        return;
    exec(m_transactionDepth == 1 ? QStringLiteral("COMMIT")
                                 : QStringLiteral("RELEASE level%1").arg(m_transactionDepth - 1));
    --m_transactionDepth;
}

void Connection::rollback()
{
    if (m_transactionDepth == 0)
        return;
    --m_transactionDepth;
    const QByteArray sql =
        m_transactionDepth == 0
            ? QByteArray("ROLLBACK")
            : QStringLiteral("ROLLBACK TO level%1; RELEASE level%1").arg(m_transactionDepth).toUtf8();
    if (!sqlite3_get_autocommit(m_handle))
        sqlite3_exec(m_handle, sql.constData(), nullptr, nullptr, nullptr);
}

// The pager's data version moves when a read finds the file changed by
// another connection; asking it costs no query and no lock.
QPair<qint64, qint64> Connection::readChangeStamp()
{
    unsigned int version = 0;
    sqlite3_file_control(m_handle, "main", SQLITE_FCNTL_DATA_VERSION, &version);
    return {qint64(version), sqlite3_total_changes64(m_handle)};
}

QPair<qint64, qint64> Connection::fileChangeStamp()
{
    Statement version = prepare(QStringLiteral("PRAGMA data_version"));
    version.step();
    return {version.columnInt64(0), sqlite3_total_changes64(m_handle)};
}

std::optional<quint32> Connection::headerSchemaCookie() const
{
    // Offsets in the SQLite file header: read and write format versions
    // (2 for WAL) and the schema cookie.
    constexpr int writeVersion = 18, readVersion = 19, walVersion = 2, schemaCookie = 40;
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(m_handle, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods)
        return std::nullopt;
    unsigned char header[schemaCookie + 4];
    if (file->pMethods->xRead(file, header, int(sizeof header), 0) != SQLITE_OK || header[writeVersion] == walVersion
        || header[readVersion] == walVersion)
        return std::nullopt;
    return qFromBigEndian<quint32>(header + schemaCookie);
}

qint64 Connection::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_handle);
}

int Connection::changes() const
{
    return sqlite3_changes(m_handle);
}

TransactionGuard::TransactionGuard(Connection &connection) : m_connection(connection)
{
    m_connection.begin();
}

TransactionGuard::~TransactionGuard()
{
    if (!m_done)
        m_connection.rollback();
}

void TransactionGuard::commit()
{
    m_connection.commit();
    m_done = true;
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}
