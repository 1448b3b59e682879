#pragma once

#include "platform/db/QbeCell.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace db {

// Query-by-example text as SQL. "Query", an optional "ANSWER: name" line,
// then one block per table: a line naming the table file and its fields,
// one example row per line below it (a blank line ends the block),
// "EndQuery". Each example row is one alternative; rows joined by example
// elements ("_k") form one question over several tables. A cell holds a
// check word, conditions ("," joins them, "or" gives alternatives),
// "calc" and "changeto"; the first cell of a row holds a check word for
// every field, "Delete" or "Insert".
struct QbeOptions
{
    QbeSettings settings;
    // The type of a field of a table file as the text names them;
    // ftUnknown when not known.
    std::function<TFieldType(const QString &table, const QString &field)> fieldType;
};

// One change the text makes to one table: a row word (Delete, Insert) or
// "changeto" in its cells. Table files are named as the text names them.
struct QbeChange
{
    enum Kind { Delete, Insert, ChangeTo };
    Kind kind = Delete;
    // The changed table as the text names it.
    QString table;
    // The whole change as one statement.
    QString statement;
    // Delete and changeto: a SELECT of the changed records' rowids. Insert:
    // a SELECT of the new records, one column per field of `fields`.
    QString records;
    // Insert: the fields given; changeto: the fields changed.
    QStringList fields;
    // Changeto: each changed field's new value, as SQL over the changed
    // record, which the table's alias "u" names.
    QStringList values;
};

struct QbeQuery
{
    // A SELECT giving the answer; empty when the text changes tables.
    QString sql;
    // The changes, run in order.
    QVector<QbeChange> changes;
    QString answerTable;
    // Every table file the text names, as written.
    QStringList tables;
};

// A table file as the text names it ("Kunden.db", ":alias:Kunden"), written
// for SQL.
QString qbeTableSql(const QString &table);

// Raises EDBEngineError qbeNotUnderstood, naming what it did not
// understand, for text outside that language.
QbeQuery translateQbe(const QString &text, const QbeOptions &options = {});

}
