#pragma once

#include "platform/db/QbeCell.h"

#include <QString>
#include <QStringList>

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

struct QbeQuery
{
    // A SELECT giving the answer; empty when the text changes tables.
    QString sql;
    // DELETE, INSERT and UPDATE statements, run in order.
    QStringList changes;
    QString answerTable;
    // Every table file the text names, as written.
    QStringList tables;
};

// Raises EDBEngineError qbeNotUnderstood, naming what it did not
// understand, for text outside that language.
QbeQuery translateQbe(const QString &text, const QbeOptions &options = {});

}
