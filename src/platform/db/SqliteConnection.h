#pragma once

#include <QByteArray>
#include <QHash>
#include <QPair>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// One prepared statement; reset when the holder goes out of scope so that no
// read lock outlives the step loop.
class Statement
{
public:
    Statement(sqlite3 *connection, sqlite3_stmt *statement);
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    ~Statement();

    void bind(int index, const QVariant &value);
    void bindAll(const QVariantList &values);
    bool step();
    int columnCount() const;
    QVariant column(int index) const;
    QString columnName(int index) const;
    // The declared type of the source column ("" for an expression).
    QString columnDeclaredType(int index) const;
    int bindParameterCount() const;
    // ":name" of a parameter, 1-based as SQLite counts them.
    QString bindParameterName(int index) const;
    qint64 columnInt64(int index) const;

private:
    sqlite3 *m_connection;
    sqlite3_stmt *m_statement;
};

// A connection to one table file. Every write runs inside a transaction and
// waits for other processes through the busy timeout.
class Connection
{
public:
    // Opens an existing table file; a file that is no SQLite database, or a
    // damaged one, raises EDBEngineError and is left untouched.
    static std::unique_ptr<Connection> openExisting(const QString &path, bool readOnly);
    // Creates a new database file (the caller renames it into place).
    static std::unique_ptr<Connection> create(const QString &path);
    ~Connection();

    Statement prepare(const QString &sql);
    void exec(const QString &sql);
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_transactionDepth > 0; }
    qint64 lastInsertRowId() const;
    int changes() const;
    // Stamps that change whenever the file's rows may have changed, by this
    // connection or by another: what was counted under one stamp is valid
    // only under the same stamp. The read stamp sees another connection's
    // changes once a read of this one found them; the file stamp asks the
    // file (a lock and a query).
    QPair<qint64, qint64> readChangeStamp();
    QPair<qint64, qint64> fileChangeStamp();
    // The schema cookie in the file's header, read without a lock or a
    // query (a change under way shows as another value); nothing where the
    // header may lag behind the schema (a file in WAL mode) or is unreadable.
    std::optional<quint32> headerSchemaCookie() const;
    const QString &path() const { return m_path; }
    bool readOnly() const { return m_readOnly; }
    // How long a write waits for other connections before it fails as busy.
    void setBusyTimeout(int milliseconds);

    [[noreturn]] void raise(int code, const QString &context) const;

private:
    Connection(sqlite3 *handle, QString path);
    static void configure(sqlite3 *handle);

    sqlite3 *m_handle;
    QString m_path;
    QHash<QString, sqlite3_stmt *> m_cache;
    int m_transactionDepth = 0;
    bool m_readOnly = false;
};

// Rolls back an open transaction unless committed (an exception between begin
// and commit leaves nothing half-written).
class TransactionGuard
{
public:
    explicit TransactionGuard(Connection &connection);
    ~TransactionGuard();
    void commit();

private:
    Connection &m_connection;
    bool m_done = false;
};

QString quoteIdentifier(const QString &name);

}
