#pragma once

#include "platform/db/DbValues.h"
#include "platform/db/SqliteConnection.h"

#include <QString>
#include <QVariantList>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace db {

// One column of the active order.
struct OrderColumn
{
    int column = 0;
    bool text = false;
    bool caseInsensitive = false;
    bool operator==(const OrderColumn &other) const = default;
};

// The ORDER BY texts of one order.
struct OrderTexts
{
    QVector<OrderColumn> order;
    bool descending = false;
    QStringList expressions;
    QString forward;
    QString backward;
    // Whole query texts, built as cursors without range or filter first ask
    // for them.
    struct Queries
    {
        // Look-ups by key on the first n columns of the order, at n - 1.
        QStringList keyLookups;
        // Reading from either end: [0] backward, [1] forward.
        QString fromEnd[2];
    };
    std::shared_ptr<Queries> queries;
};

// A bound of a range: leading key values in storage form.
struct KeyBound
{
    QVariantList values;
    bool inclusive = true;
};

// A condition in SQL with its bound values.
struct SqlCondition
{
    QString sql;
    QVariantList values;
    bool isEmpty() const { return sql.isEmpty(); }
};

// The texts every query of a cursor on one table repeats; built once per
// state of the table file and shared by the cursors opened on it.
struct CursorTexts
{
    QString tableName;
    QString quotedTable;
    QStringList columns;
    QStringList quotedColumns;
    QString selectSql;
    // Filled as cursors take up orders; shared by every copy.
    std::shared_ptr<std::vector<OrderTexts>> orders;

    static CursorTexts forTable(const QString &tableName, const QStringList &columns);
};

// A cursor over one table in the order of an index, restricted by a range and
// filters. It holds only a window of rows around the current one and fetches
// neighbours with indexed keyset queries, so no operation reads the whole table.
class KeysetCursor
{
public:
    using Acceptor = std::function<bool(const Row &)>;

    KeysetCursor(Connection &connection, CursorTexts texts);

    void setOrder(QVector<OrderColumn> order, bool descending);
    void setRange(std::optional<KeyBound> start, std::optional<KeyBound> end);
    void setSqlFilter(SqlCondition filter);
    void setAcceptor(Acceptor acceptor);
    const QVector<OrderColumn> &order() const { return m_order; }

    // A small first window (the one row) suits an opening that is followed
    // by a key search or a look at the first record only.
    bool first(bool small = false);
    bool last();
    bool next();
    bool prior();
    // A long move: lets SQLite skip the rows in between by OFFSET instead
    // of reading each of them, and returns how far it got (less at either
    // end of the set); nothing when stepping is the way to go.
    std::optional<int> jump(int distance);
    bool isEmpty() const { return m_current < 0; }
    Row *current() { return m_current < 0 ? nullptr : &m_rows[m_current]; }
    // Rows next to the current one (for data links that show several records).
    QVector<Row> neighbours(const Row &anchor, bool forward, int count);

    // Positions on the first row whose leading key values are >= (or > when
    // not inclusive) the given ones; false (cursor unchanged) when there is none.
    bool seek(const QVariantList &keyValues, bool inclusive);
    // Positions on the first row whose leading key values equal the given
    // ones (a look-up by key); false (cursor unchanged) when there is none.
    bool seekEqual(const QVariantList &keyValues);
    // Positions on the row with that id when it lies in the range and filter.
    bool gotoRowId(qint64 rowId);
    std::optional<Row> readRow(qint64 rowId);
    // Makes a row just written the current one without reading it back
    // (only where no range or filter could exclude it).
    void placeAt(Row row);
    // A current row written with its place in the order unchanged replaces
    // it in the window, which stays as it was; false (nothing changed) where
    // a filter might now exclude it or its place moved.
    bool replaceCurrent(const Row &row);
    // The first row of the set that also meets the condition; no move.
    std::optional<Row> findFirst(const SqlCondition &condition);
    bool isRestricted() const;
    void clear();
    // Re-reads the window at the current key (after writes by anyone).
    void resync();

    // The current row's number within the set; counted only after a jump,
    // kept up to date while stepping.
    int recNo();
    // Counted once per range, filter and state of the file.
    int recordCount();
    // Order of two rows: -1, 0, 1.
    int compareRows(const Row &left, const Row &right) const;
    int compareKey(const Row &row, const QVariantList &keyValues) const;

private:
    QVector<Row> fetch(const Row *anchor, bool forward, int count, bool *exhausted = nullptr);
    QVector<Row> fetchFromBound(const KeyBound &bound, int count, bool *exhausted);
    QVector<Row> runQuery(const QString &where, const QVariantList &values, bool forward, int count, int skip = 0);
    QString queryText(const QString &where, bool forward, int skip) const;
    QVector<Row> readRows(const QString &sql, const QVariantList &values, int count, int skip);
    const QString &keyLookupText(const QVariantList &keyValues);
    QVector<Row> accepted(QVector<Row> rows) const;
    const SqlCondition &baseCondition() const;
    SqlCondition buildBaseCondition() const;
    SqlCondition equalityCondition(const QVariantList &values) const;
    SqlCondition anchorCondition(const Row &anchor, bool forward, bool inclusive, bool excludeNullLead = false) const;
    SqlCondition boundCondition(const QVariantList &values, bool greater, bool inclusive, bool withRowId, qint64 rowId,
                                bool excludeNullLead = false) const;
    bool excludesNullLead(const QVariantList &values, bool greater) const;
    bool splitsNulls(const Row &anchor, bool forward) const;
    QVector<Row> rawStep(const Row *anchor, bool forward, int count, int skip = 0);
    int jumpBy(int distance);
    int countBeyond(const Row &anchor, bool forward);
    std::optional<int> knownRecNo();
    QString orderBy(bool forward) const;
    OrderTexts orderTexts();
    QString columnExpression(int orderIndex) const;
    int compareValues(const QVariant &left, const QVariant &right, const OrderColumn &column) const;
    int countWhere(const SqlCondition &condition);
    int countedRecNo();
    void forgetCounts();
    void setWindow(QVector<Row> rows, int current, bool atStart, bool atEnd);
    void growWindow();

    Connection &m_connection;
    CursorTexts m_texts;
    QVector<OrderColumn> m_order;
    QStringList m_orderExpressions;
    QString m_forwardOrderBy;
    QString m_backwardOrderBy;
    std::shared_ptr<OrderTexts::Queries> m_queries;
    bool m_descending = false;
    std::optional<KeyBound> m_start;
    std::optional<KeyBound> m_end;
    SqlCondition m_filter;
    mutable std::optional<SqlCondition> m_base;
    Acceptor m_acceptor;
    QVector<Row> m_rows;
    int m_current = -1;
    // Whether the window reaches the first / last row of the set.
    bool m_atStart = true;
    bool m_atEnd = true;
    bool m_freshFirst = false;
    int m_window = 16;
    using ChangeStamp = QPair<qint64, qint64>;
    // Record number of the window's first row, valid under m_recNoStamp.
    std::optional<int> m_firstRecNo;
    ChangeStamp m_recNoStamp;
    std::optional<int> m_recordCount;
    ChangeStamp m_countStamp;
};

}
