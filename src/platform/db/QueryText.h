#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace db {

// One token of an SQL text; strings, quoted names and comments are single
// tokens, so nothing inside them is ever taken for a keyword.
struct SqlToken
{
    enum Kind { Word, QuotedName, String, Parameter, AliasedTable, Number, Symbol, Space };
    Kind kind = Symbol;
    QString text;
    int start = 0;

    bool isKeyword(const char *keyword) const;
};

QVector<SqlToken> tokenizeSql(const QString &sql);
// A word that joins two tables of a FROM clause (INNER, LEFT, OUTER, JOIN, ...).
bool isJoinWord(const SqlToken &token);
// A token that cannot be a table's name or alias in a FROM clause: a join
// word, ON, USING, a clause's keyword, or a symbol other than ",".
bool endsTableList(const SqlToken &token);

// A table file the text names, as the layer attaches it.
struct TableReference
{
    QString databaseName; // empty: the query's own database
    QString fileName;     // "Kunden", "Kunden.db", ...
    QString schema;       // the attached schema's name
};

// How a date written with slashes and the year last is read: '5/13/2026'
// month first, as the engine read it unless told otherwise, or
// '13/5/2026' day first.
enum class SlashDateOrder { MonthDayYear, DayMonthYear };

// How a text's slash dates are read: in `order`, except on the listed lines
// (0-based), which a program wrote in an order of its own, `linesOrder`.
struct SlashDates
{
    SlashDates(SlashDateOrder all = SlashDateOrder::MonthDayYear) : order(all), linesOrder(all) {}
    SlashDateOrder onLine(int line) const { return lines.contains(line) ? linesOrder : order; }

    SlashDateOrder order;
    QList<int> lines;
    SlashDateOrder linesOrder;
};

// The SQL text as SQLite runs it: file names (Kunden.db, "Kunden.db",
// :alias:Kunden) become the attached schemas' tables, German date literals
// ('24.12.2026') become the stored ISO form.
struct QueryText
{
    QString sql;
    QVector<TableReference> tables;
    bool isSelect = false;
    // The one table of a plain "SELECT * FROM table ..." (a live result).
    int liveTable = -1;
};

QueryText translateQueryText(const QString &sql, const SlashDates &slashDates = {});
// Texts that run on one connection: a table file any of them names is
// attached once, under one schema; the last one's tables are all of them.
QVector<QueryText> translateQueryTexts(const QStringList &texts, const SlashDates &slashDates = {});

}
