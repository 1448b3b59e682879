#pragma once

#include "platform/db/KeysetCursor.h"
#include "platform/db/QueryText.h"
#include "platform/db/TDBDataSet.h"
#include "platform/db/TParams.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace db {
class Connection;
}

// SQL text over the table files: the files the text names are attached to
// one SQLite connection. The result is read in growing windows as the user
// steps through it, never as a whole on opening. A plain "SELECT * FROM" of
// one table asked for with RequestLive can be edited; any other result is
// read-only. The text comes from the descendant (SQL lines, QBE text).
class TSqlDataSet : public TDBDataSet
{
    Q_OBJECT
public:
    ~TSqlDataSet() override;

    TParams *Params() { return &m_params; }
    TParam *ParamByName(const QString &name) const { return m_params.ParamByName(name); }
    // Checks the text against the tables without running it.
    void Prepare();
    bool Prepared() const { return m_prepared; }
    void UnPrepare() { m_prepared = false; }
    // Runs a statement that gives no result (INSERT, UPDATE, DELETE, ...).
    void ExecSQL();
    int RowsAffected() const { return m_rowsAffected; }
    bool CanModify() const override;
    // How the text's dates with slashes and the year last are read.
    db::SlashDateOrder SlashDates() const { return m_slashDates.order; }
    void SetSlashDates(db::SlashDateOrder order) { m_slashDates.order = order; }
    // Lines of the text (0-based) that a program wrote with its dates in
    // an order of its own; the rest keeps SlashDates. New text forgets them.
    void SetSlashDateLines(const QList<int> &lines, db::SlashDateOrder order);

protected:
    explicit TSqlDataSet(QObject *owner);
    virtual QString queryText() const = 0;
    // Runs `work` on one connection to which every table file the texts
    // name is attached, inside one transaction that `work` leaving with an
    // exception undoes; `work` gets the texts as SQLite runs them.
    void runTogether(const QStringList &texts,
                     const std::function<void(db::Connection &connection, const QStringList &sql)> &work);
    bool m_requestLive = false;
    bool m_prepared = false;
    TParams m_params;

    void openCursor() override;
    void closeCursor() override;
    bool cursorFirst() override;
    bool cursorLast() override;
    bool cursorNext() override;
    bool cursorPrior() override;
    db::Row *cursorRow() override;
    QVector<db::Row> cursorNeighbours(bool forward, int count) override;
    int cursorRecNo() override { return m_current + 1; }
    int cursorRecordCount() override;
    void cursorResync() override;
    bool cursorGotoRowId(qint64 rowId) override;
    std::optional<db::Row> cursorReadRow(qint64 rowId) override;
    void cursorPost(db::Row &row, bool inserting, const db::Row &original) override;
    void cursorDelete() override;
    void applyFilters() override;

private:
    std::unique_ptr<db::Connection> connect(const db::QueryText &text, bool readOnly) const;
    void bindParameters(db::Statement &statement) const;
    QString windowSql() const;
    bool fetchUpTo(int index);
    void fetchWindow();
    void resetRows();
    bool isLive() const { return m_text.liveTable >= 0 && m_requestLive; }
    QString liveTable() const;

    int m_rowsAffected = 0;
    db::SlashDates m_slashDates;
    db::QueryText m_text;
    std::unique_ptr<db::Connection> m_connection;
    QStringList m_columns;
    db::SqlCondition m_filterSql;
    bool m_rowTest = false;
    QVector<db::Row> m_rows;
    int m_current = -1;
    qint64 m_rawRead = 0;
    bool m_exhausted = false;
    int m_window = 64;
};

// SQL queries.
class TQuery : public TSqlDataSet
{
    Q_OBJECT
    Q_PROPERTY(QStringList SQL READ SQL WRITE SetSQL)
    Q_PROPERTY(bool RequestLive READ RequestLive WRITE SetRequestLive)
    Q_PROPERTY(TParams *Params READ Params)
public:
    explicit TQuery(QObject *owner = nullptr);

    const QStringList &SQL() const { return m_sql; }
    // New text closes the query and names its parameters (":name") anew,
    // keeping the values of those still named.
    void SetSQL(const QStringList &lines);
    bool RequestLive() const { return m_requestLive; }
    void SetRequestLive(bool live);

protected:
    QString queryText() const override { return m_sql.join(QLatin1Char('\n')); }

private:
    QStringList m_sql;
};

// The stored procedures this program provides, by name.
using TStoredProcedure = std::function<void(TParams &params)>;
void registerStoredProcedure(const QString &name, TStoredProcedure procedure);
void unregisterStoredProcedure(const QString &name);

class TStoredProc : public TDBDataSet
{
    Q_OBJECT
    Q_PROPERTY(QString StoredProcName READ StoredProcName WRITE SetStoredProcName)
    Q_PROPERTY(TParams *Params READ Params)
public:
    explicit TStoredProc(QObject *owner = nullptr);

    const QString &StoredProcName() const { return m_name; }
    void SetStoredProcName(const QString &name) { m_name = name; }
    TParams *Params() { return &m_params; }
    TParam *ParamByName(const QString &name) const { return m_params.ParamByName(name); }
    void Prepare();
    void ExecProc();

protected:
    void openCursor() override;

private:
    TStoredProcedure procedure() const;

    QString m_name;
    TParams m_params;
};
