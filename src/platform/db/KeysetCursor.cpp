#include "platform/db/KeysetCursor.h"

#include "platform/db/GermanCollation.h"

#include <algorithm>
#include <cstdlib>

namespace db {

namespace {

// Opening reads one window; a range of typical size fits into it, so that
// stepping through it needs no second query.
constexpr int firstWindow = 64;
constexpr int seekWindow = 8;
constexpr int largestWindow = 512;
constexpr int scanChunk = 512;

SqlCondition conjunction(std::initializer_list<SqlCondition> parts)
{
    SqlCondition result;
    for (const SqlCondition &part : parts) {
        if (part.isEmpty())
            continue;
        result.sql += result.sql.isEmpty() ? part.sql : QStringLiteral(" AND ") + part.sql;
        result.values += part.values;
    }
    return result;
}

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

}

CursorTexts CursorTexts::forTable(const QString &tableName, const QStringList &columns)
{
    CursorTexts texts{
        tableName, quoteIdentifier(tableName), columns, {}, {}, std::make_shared<std::vector<OrderTexts>>()};
    for (const QString &column : columns)
        texts.quotedColumns.append(quoteIdentifier(column));
    const QStringList selected = QStringList{QStringLiteral("rowid")} + texts.quotedColumns;
    texts.selectSql = QStringLiteral("SELECT %1 FROM %2").arg(selected.join(QStringLiteral(", ")), texts.quotedTable);
    return texts;
}

KeysetCursor::KeysetCursor(Connection &connection, CursorTexts texts)
    : m_connection(connection), m_texts(std::move(texts))
{
    setOrder({}, false);
}

void KeysetCursor::setOrder(QVector<OrderColumn> order, bool descending)
{
    m_freshFirst = false;
    m_order = std::move(order);
    m_descending = descending;
    OrderTexts texts = orderTexts();
    m_orderExpressions = std::move(texts.expressions);
    m_forwardOrderBy = std::move(texts.forward);
    m_backwardOrderBy = std::move(texts.backward);
    m_queries = std::move(texts.queries);
    m_base.reset();
}

// Every query repeats these texts, so they are built once per order and
// state of the table file.
OrderTexts KeysetCursor::orderTexts()
{
    constexpr std::size_t keptOrders = 32;
    std::vector<OrderTexts> &known = *m_texts.orders;
    for (const OrderTexts &texts : known)
        if (texts.descending == m_descending && texts.order == m_order)
            return texts;
    m_orderExpressions.clear();
    for (const OrderColumn &column : std::as_const(m_order)) {
        QString expression = m_texts.quotedColumns[column.column];
        if (column.text)
            expression += QStringLiteral(" COLLATE ")
                          + QLatin1String(column.caseInsensitive ? germanNoCaseCollation : germanCollation);
        m_orderExpressions.append(expression);
    }
    OrderTexts texts{m_order,       m_descending,   m_orderExpressions,
                     orderBy(true), orderBy(false), std::make_shared<OrderTexts::Queries>()};
    if (known.size() < keptOrders)
        known.push_back(texts);
    return texts;
}

void KeysetCursor::setRange(std::optional<KeyBound> start, std::optional<KeyBound> end)
{
    m_freshFirst = false;
    forgetCounts();
    m_start = std::move(start);
    m_end = std::move(end);
    m_base.reset();
}

void KeysetCursor::setSqlFilter(SqlCondition filter)
{
    m_freshFirst = false;
    forgetCounts();
    m_filter = std::move(filter);
    m_base.reset();
}

void KeysetCursor::setAcceptor(Acceptor acceptor)
{
    m_freshFirst = false;
    forgetCounts();
    m_acceptor = std::move(acceptor);
}

QString KeysetCursor::columnExpression(int orderIndex) const
{
    return orderIndex < m_orderExpressions.size() ? m_orderExpressions[orderIndex] : QStringLiteral("rowid");
}

QString KeysetCursor::orderBy(bool forward) const
{
    const QString direction = (forward != m_descending) ? QString() : QStringLiteral(" DESC");
    const QString rowDirection = forward ? QString() : QStringLiteral(" DESC");
    QStringList parts;
    for (int i = 0; i < m_order.size(); ++i)
        parts.append(columnExpression(i) + direction);
    parts.append(QStringLiteral("rowid") + rowDirection);
    return parts.join(QStringLiteral(", "));
}

// Lexicographic comparison of the leading order columns (and the row id)
// with given values; NULL counts as the smallest value, as SQLite orders it.
SqlCondition KeysetCursor::boundCondition(const QVariantList &values, bool greater, bool inclusive, bool withRowId,
                                          qint64 rowId, bool excludeNullLead) const
{
    struct Component
    {
        QString expression;
        QVariant value;
        bool sqlGreater;
        bool nullable;
    };
    QVector<Component> components;
    for (int i = 0; i < values.size() && i < m_order.size(); ++i)
        components.append({columnExpression(i), values[i], greater != m_descending, i > 0 || !excludeNullLead});
    if (withRowId)
        components.append({QStringLiteral("rowid"), QVariant(rowId), greater, false});
    if (components.isEmpty())
        return {};

    SqlCondition result;
    std::function<QString(int)> build = [&](int i) -> QString {
        const Component &c = components[i];
        const bool last = i == components.size() - 1;
        const bool null = isNull(c.value);
        auto withValue = [&](const QString &sql) {
            result.values.append(c.value);
            return sql;
        };
        if (last) {
            if (c.sqlGreater)
                return null ? (inclusive ? QStringLiteral("1") : c.expression + QStringLiteral(" IS NOT NULL"))
                            : withValue(c.expression + (inclusive ? QStringLiteral(" >= ?") : QStringLiteral(" > ?")));
            if (null)
                return inclusive ? c.expression + QStringLiteral(" IS NULL") : QStringLiteral("0");
            const QString comparison = c.expression + (inclusive ? QStringLiteral(" <= ?") : QStringLiteral(" < ?"));
            return withValue(c.nullable ? QStringLiteral("(%1 OR %2 IS NULL)").arg(comparison, c.expression)
                                        : comparison);
        }
        QString strict;
        if (c.sqlGreater)
            strict =
                null ? c.expression + QStringLiteral(" IS NOT NULL") : withValue(c.expression + QStringLiteral(" > ?"));
        else
            strict = null ? QStringLiteral("0")
                          : withValue(c.nullable ? QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(c.expression)
                                                 : c.expression + QStringLiteral(" < ?"));
        const QString equal =
            null ? c.expression + QStringLiteral(" IS NULL") : withValue(c.expression + QStringLiteral(" = ?"));
        const QString rest = build(i + 1);
        return QStringLiteral("(%1 OR (%2 AND %3))").arg(strict, equal, rest);
    };
    const Component &lead = components.first();
    if (components.size() == 1 || isNull(lead.value) || !(lead.sqlGreater || excludeNullLead)) {
        result.sql = build(0);
        return result;
    }
    // The leading key is bounded by an index range; within it, only rows
    // on the bound's own leading value need the further keys, which costs
    // one collation comparison per row instead of two.
    result.sql = lead.expression + (lead.sqlGreater ? QStringLiteral(" >= ?") : QStringLiteral(" <= ?"))
                 + QStringLiteral(" AND (") + lead.expression + QStringLiteral(" <> ? OR ");
    result.values.append(lead.value);
    result.values.append(lead.value);
    result.sql += build(1) + QLatin1Char(')');
    return result;
}

// A bound on the greater side with a leading value compares the leading key
// with ">=" or ">", which no NULL key meets.
bool KeysetCursor::excludesNullLead(const QVariantList &values, bool greater) const
{
    return !m_order.isEmpty() && !values.isEmpty() && !isNull(values.first()) && greater != m_descending;
}

// The leading order columns equal to the given values (NULL as IS NULL).
SqlCondition KeysetCursor::equalityCondition(const QVariantList &values) const
{
    SqlCondition result;
    QStringList parts;
    for (int i = 0; i < values.size() && i < m_order.size(); ++i) {
        if (isNull(values[i])) {
            parts.append(columnExpression(i) + QStringLiteral(" IS NULL"));
        } else {
            parts.append(columnExpression(i) + QStringLiteral(" = ?"));
            result.values.append(values[i]);
        }
    }
    result.sql = parts.join(QStringLiteral(" AND "));
    return result;
}

// Every query of the cursor starts from the range and filter, so their
// condition is built once until either changes.
const SqlCondition &KeysetCursor::baseCondition() const
{
    if (!m_base)
        m_base = buildBaseCondition();
    return *m_base;
}

SqlCondition KeysetCursor::buildBaseCondition() const
{
    SqlCondition range;
    const bool equalRange =
        m_start && m_end && m_start->inclusive && m_end->inclusive && m_start->values.size() == m_end->values.size()
        && std::equal(m_start->values.begin(), m_start->values.end(), m_end->values.begin(),
                      [](const QVariant &a, const QVariant &b) { return isNull(a) == isNull(b) && a == b; });
    if (equalRange) {
        range = equalityCondition(m_start->values);
    } else {
        const bool hasStart = m_start && !m_start->values.isEmpty();
        const bool hasEnd = m_end && !m_end->values.isEmpty();
        // Once one bound keeps out NULL keys, the other may too, so that both
        // bound an index range instead of leaving one end open.
        const bool nullsExcluded =
            (hasStart && excludesNullLead(m_start->values, true)) || (hasEnd && excludesNullLead(m_end->values, false));
        if (hasStart)
            range = boundCondition(m_start->values, true, m_start->inclusive, false, 0, nullsExcluded);
        if (hasEnd)
            range =
                conjunction({range, boundCondition(m_end->values, false, m_end->inclusive, false, 0, nullsExcluded)});
    }
    return conjunction({range, m_filter});
}

SqlCondition KeysetCursor::anchorCondition(const Row &anchor, bool forward, bool inclusive, bool excludeNullLead) const
{
    QVariantList keys;
    for (const OrderColumn &column : m_order)
        keys.append(anchor.values[column.column]);
    return boundCondition(keys, forward, inclusive, true, anchor.rowId, excludeNullLead);
}

// Whether a backward read from the anchor can take an index range: NULL keys
// sort first, so they are read by a second indexed query.
bool KeysetCursor::splitsNulls(const Row &anchor, bool forward) const
{
    return !forward && !m_descending && !m_order.isEmpty() && !isNull(anchor.values[m_order[0].column]);
}

// Reads `count` rows after (or before) the anchor, skipping `skip` of them.
QVector<Row> KeysetCursor::rawStep(const Row *anchor, bool forward, int count, int skip)
{
    if (!anchor || !splitsNulls(*anchor, forward)) {
        const SqlCondition where =
            conjunction({baseCondition(), anchor ? anchorCondition(*anchor, forward, false) : SqlCondition{}});
        return runQuery(where.sql, where.values, forward, count, skip);
    }
    const SqlCondition where = conjunction({baseCondition(), anchorCondition(*anchor, forward, false, true)});
    QVector<Row> rows = runQuery(where.sql, where.values, forward, count, skip);
    if (rows.size() < count) {
        // The rows with a key read so far tell how many of the skipped ones
        // they were, unless the skip went past all of them.
        const int keyed = rows.isEmpty() && skip > 0 ? countWhere(where) : skip + int(rows.size());
        const SqlCondition nulls =
            conjunction({baseCondition(), SqlCondition{columnExpression(0) + QStringLiteral(" IS NULL"), {}}});
        rows += runQuery(nulls.sql, nulls.values, forward, count - int(rows.size()), std::max(0, skip - keyed));
    }
    return rows;
}

QVector<Row> KeysetCursor::runQuery(const QString &where, const QVariantList &values, bool forward, int count, int skip)
{
    if (!where.isEmpty() || skip > 0)
        return readRows(queryText(where, forward, skip), values, count, skip);
    // The first record read after opening: built once per order.
    QString &fromEnd = m_queries->fromEnd[forward ? 1 : 0];
    if (fromEnd.isEmpty())
        fromEnd = queryText(where, forward, skip);
    return readRows(fromEnd, values, count, skip);
}

QString KeysetCursor::queryText(const QString &where, bool forward, int skip) const
{
    const QString &order = forward ? m_forwardOrderBy : m_backwardOrderBy;
    QString sql;
    sql.reserve(m_texts.selectSql.size() + where.size() + order.size() + 48);
    sql += m_texts.selectSql;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    sql += QStringLiteral(" ORDER BY ") + order + QStringLiteral(" LIMIT ?");
    if (skip > 0)
        sql += QStringLiteral(" OFFSET ?");
    return sql;
}

QVector<Row> KeysetCursor::readRows(const QString &sql, const QVariantList &values, int count, int skip)
{
    Statement statement = m_connection.prepare(sql);
    statement.bindAll(values);
    statement.bind(int(values.size()) + 1, count);
    if (skip > 0)
        statement.bind(int(values.size()) + 2, skip);
    QVector<Row> rows;
    rows.reserve(count);
    const int columns = int(m_texts.columns.size());
    while (statement.step()) {
        Row row;
        row.rowId = statement.columnInt64(0);
        row.values.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.values.append(statement.column(i + 1));
        rows.append(std::move(row));
    }
    return rows;
}

// Tables are opened for one look-up by key again and again: the text of
// such a query is built once per order and table file.
const QString &KeysetCursor::keyLookupText(const QVariantList &keyValues)
{
    QStringList &texts = m_queries->keyLookups;
    const int count = int(keyValues.size());
    while (texts.size() < count)
        texts.append(QString());
    if (texts[count - 1].isEmpty())
        texts[count - 1] = queryText(equalityCondition(keyValues).sql, true, 0);
    return texts[count - 1];
}

QVector<Row> KeysetCursor::accepted(QVector<Row> rows) const
{
    if (!m_acceptor)
        return rows;
    QVector<Row> result;
    for (Row &row : rows)
        if (m_acceptor(row))
            result.append(std::move(row));
    return result;
}

// Backward reads take the NULL keys in a second indexed query, so that the
// first one keeps an index range instead of scanning.
QVector<Row> KeysetCursor::fetch(const Row *anchor, bool forward, int count, bool *exhausted)
{
    QVector<Row> result;
    std::optional<Row> position = anchor ? std::optional<Row>(*anchor) : std::nullopt;
    bool atEnd = false;
    while (result.size() < count) {
        const QVector<Row> raw = rawStep(position ? &*position : nullptr, forward, count);
        atEnd = raw.size() < count;
        if (raw.isEmpty())
            break;
        position = raw.last();
        if (result.isEmpty())
            result = accepted(raw);
        else
            result += accepted(raw);
        if (atEnd)
            break;
    }
    if (exhausted)
        *exhausted = atEnd;
    return result;
}

QVector<Row> KeysetCursor::fetchFromBound(const KeyBound &bound, int count, bool *exhausted)
{
    const SqlCondition where =
        conjunction({baseCondition(), boundCondition(bound.values, true, bound.inclusive, false, 0)});
    QVector<Row> raw = runQuery(where.sql, where.values, true, count);
    *exhausted = raw.size() < count;
    if (raw.isEmpty())
        return raw;
    const Row lastRaw = raw.last();
    QVector<Row> result = accepted(std::move(raw));
    if (result.isEmpty() && !*exhausted)
        result = fetch(&lastRaw, true, count, exhausted);
    return result;
}

void KeysetCursor::setWindow(QVector<Row> rows, int current, bool atStart, bool atEnd)
{
    m_freshFirst = false;
    m_rows = std::move(rows);
    m_current = m_rows.isEmpty() ? -1 : current;
    m_atStart = atStart;
    m_atEnd = atEnd;
    m_window = seekWindow;
    m_firstRecNo.reset();
}

void KeysetCursor::forgetCounts()
{
    m_firstRecNo.reset();
    m_recordCount.reset();
}

void KeysetCursor::clear()
{
    setWindow({}, -1, true, true);
}

bool KeysetCursor::first(bool small)
{
    // Positioning on the first row right after the cursor read it (a range,
    // a filter or the opening did) reuses that reading.
    if (m_freshFirst && m_current == 0) {
        m_freshFirst = false;
        return true;
    }
    // A row test in C++ judges the rows read, so it is given a few at once.
    const int count = !small ? firstWindow : m_acceptor ? seekWindow : 1;
    bool exhausted = false;
    QVector<Row> rows = fetch(nullptr, true, count, &exhausted);
    setWindow(std::move(rows), 0, true, exhausted);
    m_freshFirst = true;
    return m_current >= 0;
}

bool KeysetCursor::last()
{
    bool exhausted = false;
    QVector<Row> rows = fetch(nullptr, false, firstWindow, &exhausted);
    std::reverse(rows.begin(), rows.end());
    const int current = int(rows.size()) - 1;
    setWindow(std::move(rows), current, exhausted, true);
    return m_current >= 0;
}

// Filtered reads cannot use the order's index alone, so they take the
// largest window at once instead of repeating the work for small ones.
void KeysetCursor::growWindow()
{
    const bool filtered = !m_filter.isEmpty() || m_acceptor;
    m_window = filtered ? largestWindow : std::min(m_window * 2, largestWindow);
}

bool KeysetCursor::next()
{
    m_freshFirst = false;
    if (m_current < 0)
        return false;
    if (m_current + 1 < m_rows.size()) {
        ++m_current;
        return true;
    }
    if (m_atEnd)
        return false;
    bool exhausted = false;
    QVector<Row> rows = fetch(&m_rows.last(), true, m_window, &exhausted);
    m_atEnd = exhausted;
    if (rows.isEmpty())
        return false;
    growWindow();
    m_rows += rows;
    ++m_current;
    const int excess = int(m_rows.size()) - 2 * largestWindow;
    if (excess > 0 && excess <= m_current) {
        m_rows.remove(0, excess);
        m_current -= excess;
        m_atStart = false;
        if (m_firstRecNo)
            *m_firstRecNo += excess;
    }
    return true;
}

bool KeysetCursor::prior()
{
    m_freshFirst = false;
    if (m_current < 0)
        return false;
    if (m_current > 0) {
        --m_current;
        return true;
    }
    if (m_atStart)
        return false;
    bool exhausted = false;
    QVector<Row> rows = fetch(&m_rows.first(), false, m_window, &exhausted);
    m_atStart = exhausted;
    if (rows.isEmpty())
        return false;
    growWindow();
    std::reverse(rows.begin(), rows.end());
    m_current = int(rows.size()) - 1;
    if (m_firstRecNo)
        *m_firstRecNo -= int(rows.size());
    m_rows = rows + m_rows;
    if (m_rows.size() > 2 * largestWindow) {
        m_rows.resize(2 * largestWindow);
        m_atEnd = false;
    }
    return true;
}

// A move of up to a large window is left to stepping through the windows;
// a row test written in C++ must see every row, so a filtered set always
// steps.
std::optional<int> KeysetCursor::jump(int distance)
{
    if (m_current < 0 || m_acceptor || std::abs(distance) <= largestWindow)
        return std::nullopt;
    m_freshFirst = false;
    const int target = m_current + distance;
    if (target >= 0 && target < m_rows.size()) {
        m_current = target;
        return distance;
    }
    return jumpBy(distance);
}

// Reads a small window at the target, skipping the rows between the
// window's edge and the target by OFFSET; a target beyond the end of the set
// stops on its last (or first) row.
int KeysetCursor::jumpBy(int distance)
{
    const bool forward = distance > 0;
    const int inWindow = forward ? int(m_rows.size()) - 1 - m_current : m_current;
    if (forward ? m_atEnd : m_atStart) {
        m_current = forward ? int(m_rows.size()) - 1 : 0;
        return forward ? inWindow : -inWindow;
    }
    const std::optional<int> from = knownRecNo();
    const Row edge = forward ? m_rows.last() : m_rows.first();
    const int skip = std::abs(distance) - inWindow - 1;
    QVector<Row> rows = rawStep(&edge, forward, seekWindow, skip);
    if (rows.isEmpty()) {
        const int beyond = inWindow + countBeyond(edge, forward);
        if (forward)
            last();
        else
            first();
        return forward ? beyond : -beyond;
    }
    const bool exhausted = rows.size() < seekWindow;
    if (forward) {
        setWindow(std::move(rows), 0, false, exhausted);
    } else {
        std::reverse(rows.begin(), rows.end());
        const int current = int(rows.size()) - 1;
        setWindow(std::move(rows), current, exhausted, false);
    }
    if (from && !m_atStart) {
        m_firstRecNo = *from + distance - m_current;
        m_recNoStamp = m_connection.readChangeStamp();
    }
    return distance;
}

// The number of rows of the set after (or before) the anchor.
int KeysetCursor::countBeyond(const Row &anchor, bool forward)
{
    if (!splitsNulls(anchor, forward))
        return countWhere(conjunction({baseCondition(), anchorCondition(anchor, forward, false)}));
    const int keyed = countWhere(conjunction({baseCondition(), anchorCondition(anchor, forward, false, true)}));
    const int nullKeys =
        countWhere(conjunction({baseCondition(), SqlCondition{columnExpression(0) + QStringLiteral(" IS NULL"), {}}}));
    return keyed + nullKeys;
}

// The current record number where it costs no counting.
std::optional<int> KeysetCursor::knownRecNo()
{
    if (m_atStart)
        return m_current + 1;
    if (m_firstRecNo && m_connection.readChangeStamp() == m_recNoStamp)
        return *m_firstRecNo + m_current;
    return std::nullopt;
}

QVector<Row> KeysetCursor::neighbours(const Row &anchor, bool forward, int count)
{
    return fetch(&anchor, forward, count);
}

// A key search mostly reads the one row it found (look-ups of one record
// per printed line); stepping on from it reads the next window then.
bool KeysetCursor::seekEqual(const QVariantList &keyValues)
{
    if (m_acceptor || keyValues.size() > m_order.size())
        return seek(keyValues, true);
    const bool plainKey =
        !keyValues.isEmpty() && baseCondition().isEmpty() && std::none_of(keyValues.begin(), keyValues.end(), isNull);
    QVector<Row> rows;
    if (plainKey) {
        rows = readRows(keyLookupText(keyValues), keyValues, 1, 0);
    } else {
        const SqlCondition where = conjunction({baseCondition(), equalityCondition(keyValues)});
        rows = runQuery(where.sql, where.values, true, 1);
    }
    if (rows.isEmpty())
        return false;
    setWindow(std::move(rows), 0, false, false);
    return true;
}

bool KeysetCursor::seek(const QVariantList &keyValues, bool inclusive)
{
    bool exhausted = false;
    QVector<Row> rows = fetchFromBound(KeyBound{keyValues, inclusive}, m_acceptor ? seekWindow : 1, &exhausted);
    if (rows.isEmpty())
        return false;
    setWindow(std::move(rows), 0, false, exhausted);
    return true;
}

std::optional<Row> KeysetCursor::readRow(qint64 rowId)
{
    const QVector<Row> rows = runQuery(QStringLiteral("rowid = ?"), {rowId}, true, 1);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

bool KeysetCursor::gotoRowId(qint64 rowId)
{
    const SqlCondition where = conjunction({baseCondition(), SqlCondition{QStringLiteral("rowid = ?"), {rowId}}});
    QVector<Row> rows = accepted(runQuery(where.sql, where.values, true, 1));
    if (rows.isEmpty())
        return false;
    setWindow(std::move(rows), 0, false, false);
    return true;
}

std::optional<Row> KeysetCursor::findFirst(const SqlCondition &condition)
{
    std::optional<Row> position;
    for (;;) {
        SqlCondition where = conjunction({baseCondition(), condition});
        if (position)
            where = conjunction({where, anchorCondition(*position, true, false)});
        const QVector<Row> raw = runQuery(where.sql, where.values, true, seekWindow);
        if (raw.isEmpty())
            return std::nullopt;
        const QVector<Row> rows = accepted(raw);
        if (!rows.isEmpty())
            return rows.first();
        if (raw.size() < seekWindow)
            return std::nullopt;
        position = raw.last();
    }
}

bool KeysetCursor::replaceCurrent(const Row &row)
{
    if (m_current < 0 || !m_filter.isEmpty() || m_acceptor)
        return false;
    Row &current = m_rows[m_current];
    if (current.rowId != row.rowId || compareRows(current, row) != 0)
        return false;
    current = row;
    current.calculatedValid = false;
    return true;
}

void KeysetCursor::placeAt(Row row)
{
    setWindow({std::move(row)}, 0, false, false);
}

bool KeysetCursor::isRestricted() const
{
    return m_start || m_end || !m_filter.isEmpty() || m_acceptor;
}

void KeysetCursor::resync()
{
    forgetCounts();
    if (m_current < 0) {
        first();
        return;
    }
    const Row anchor = m_rows[m_current];
    const SqlCondition where = conjunction({baseCondition(), anchorCondition(anchor, true, true)});
    QVector<Row> raw = runQuery(where.sql, where.values, true, seekWindow);
    bool exhausted = raw.size() < seekWindow;
    QVector<Row> rows = accepted(raw);
    if (rows.isEmpty() && !exhausted)
        rows = fetch(&raw.last(), true, seekWindow, &exhausted);
    if (rows.isEmpty()) {
        last();
        return;
    }
    setWindow(std::move(rows), 0, false, exhausted);
}

int KeysetCursor::countWhere(const SqlCondition &condition)
{
    if (!m_acceptor) {
        QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + m_texts.quotedTable;
        if (!condition.isEmpty())
            sql += QStringLiteral(" WHERE ") + condition.sql;
        Statement statement = m_connection.prepare(sql);
        statement.bindAll(condition.values);
        statement.step();
        return int(statement.columnInt64(0));
    }
    int count = 0;
    std::optional<Row> position;
    for (;;) {
        const SqlCondition where =
            conjunction({condition, position ? anchorCondition(*position, true, false) : SqlCondition{}});
        const QVector<Row> raw = runQuery(where.sql, where.values, true, scanChunk);
        if (raw.isEmpty())
            break;
        position = raw.last();
        count += int(accepted(raw).size());
        if (raw.size() < scanChunk)
            break;
    }
    return count;
}

int KeysetCursor::recordCount()
{
    const ChangeStamp stamp = m_connection.fileChangeStamp();
    if (!m_recordCount || stamp != m_countStamp) {
        m_recordCount = countWhere(baseCondition());
        m_countStamp = stamp;
    }
    return *m_recordCount;
}

// A window that reaches either end of the set is numbered from there; only
// a window in the middle, after a jump, needs the rows before it counted.
// The number is that of the row as the cursor last read the file, like the
// row's values.
int KeysetCursor::recNo()
{
    if (m_current < 0)
        return 0;
    const ChangeStamp stamp = m_connection.readChangeStamp();
    if (!m_firstRecNo || stamp != m_recNoStamp) {
        if (m_atStart)
            m_firstRecNo = 1;
        else if (m_atEnd)
            m_firstRecNo = recordCount() - int(m_rows.size()) + 1;
        else
            m_firstRecNo = countedRecNo() - m_current;
        m_recNoStamp = stamp;
    }
    return *m_firstRecNo + m_current;
}

int KeysetCursor::countedRecNo()
{
    return countBeyond(m_rows[m_current], false) + 1;
}

int KeysetCursor::compareValues(const QVariant &left, const QVariant &right, const OrderColumn &column) const
{
    const bool leftNull = isNull(left);
    const bool rightNull = isNull(right);
    if (leftNull || rightNull)
        return leftNull == rightNull ? 0 : (leftNull ? -1 : 1);
    if (column.text)
        return compareGerman(left.toString(), right.toString(), !column.caseInsensitive);
    const QPartialOrdering order = QVariant::compare(left, right);
    if (order == QPartialOrdering::Less)
        return -1;
    if (order == QPartialOrdering::Greater)
        return 1;
    return 0;
}

int KeysetCursor::compareKey(const Row &row, const QVariantList &keyValues) const
{
    for (int i = 0; i < keyValues.size() && i < m_order.size(); ++i) {
        const int r = compareValues(row.values[m_order[i].column], keyValues[i], m_order[i]);
        if (r != 0)
            return m_descending ? -r : r;
    }
    return 0;
}

int KeysetCursor::compareRows(const Row &left, const Row &right) const
{
    for (const OrderColumn &column : m_order) {
        const int r = compareValues(left.values[column.column], right.values[column.column], column);
        if (r != 0)
            return m_descending ? -r : r;
    }
    return left.rowId == right.rowId ? 0 : (left.rowId < right.rowId ? -1 : 1);
}

}
