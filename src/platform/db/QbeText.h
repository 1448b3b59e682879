#pragma once

#include <QString>

namespace db {

// Query-by-example text of one table as SQL: the table line names the file
// and its fields, each example row below it is one alternative (rows OR
// together, the conditions of a row AND). A field cell holds Check,
// CheckPlus or CheckDescending (the field is answered; Check also sorts and
// drops repeated answers) and conditions separated by commas: a value,
// =, <>, <, >, <=, >= with a value, "not" before any of them, "blank",
// "like" with a value, ".." for any text and "@" for one character.
struct QbeQuery
{
    QString sql;
    QString answerTable;
};

// Raises EDatabaseError for text outside that language (several tables,
// example elements, insert or delete rows).
QbeQuery translateQbe(const QString &text);

}
