#pragma once

#include "platform/db/TFieldDefs.h"
#include "platform/db/TIndexDefs.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace db {

class Connection;
struct TableSchema;

// SQLite's unique index lets any number of rows through whose key holds a
// NULL, while the suite's tables take a blank key field as a value like any
// other: a key with a blank field may stand in one record only. Triggers
// kept in the table file refuse the second one, so every writer of the file
// is held to it, in whatever process it runs. Where no key field is blank
// the unique index decides alone, and the triggers cost nothing.

// The statements that create the key's triggers on a new table.
QStringList blankKeyTriggers(const QString &tableName, const QVector<TFieldDef> &fields, const TIndexDef &key);
// Whether the table's key is guarded; a table without a key needs no guard.
bool blankKeysGuarded(Connection &connection, const TableSchema &schema);
// Guards the key of a table created before the triggers were; answers
// whether it is guarded now. A file that cannot be written stays as it is:
// every write to it fails by itself.
bool guardBlankKeys(Connection &connection, const TableSchema &schema);
// The same for the table file a query writes into.
void guardBlankKeysOf(const QString &path);

}
