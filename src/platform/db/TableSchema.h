#pragma once

#include "platform/db/KeysetCursor.h"
#include "platform/db/TFieldDefs.h"
#include "platform/db/TIndexDefs.h"
#include "platform/db/ValidityChecks.h"
#include "platform/os/FileWatch.h"

#include <QString>
#include <QVector>

#include <memory>

namespace db {

class Connection;

// What a table file holds: its one table's name, columns and indexes, read
// from the SQLite schema (declared types carry the Paradox types and sizes).
struct TableSchema
{
    QString tableName;
    QVector<TFieldDef> fields;
    QVector<TIndexDef> indexes;

    int fieldIndex(const QString &name) const;
    const TIndexDef *primary() const;
};

QString declaredType(const TFieldDef &def);
// A column's definition from its declared type (ftUnknown types by affinity).
TFieldDef fieldFromDeclaration(const QString &name, const QString &declared, bool notNull);
TableSchema readSchema(Connection &connection);
// A column as an index of that case rule compares it.
QString collatedColumn(const QString &name, TFieldType type, bool caseInsensitive);

// What opening a table takes from its file and the texts built from it.
struct TableLayout
{
    TableSchema schema;
    CursorTexts cursorTexts;
    QString insertSql;
    // The primary index's order, worked out by the first opening that uses
    // it: most openings take it, and the file's schema cannot change
    // under a layout.
    struct Order
    {
        QVector<OrderColumn> columns;
        bool descending = false;
    };
    mutable std::optional<Order> primaryOrder;
    // Whether the file's triggers hold its key to one record per blank
    // key; set once a write has added them to a table created before them.
    mutable bool blankKeysGuarded = true;
};
// The layout of the connection's file, read again only when the file was
// replaced or its schema changed since the last reading (and every time
// when the file could not be looked at). The file's header is read only
// where the look cannot tell that nothing was written since.
std::shared_ptr<const TableLayout> cachedLayout(Connection &connection, const os::FileLook &look);
bool isTextType(TFieldType type);
bool isBlobType(TFieldType type);

// Writes a new table file atomically: built beside the target under a
// temporary name, then renamed over it. The checks go into the file's own
// table of validity checks.
void createTableFile(const QString &path, const QString &tableName, const TFieldDefs &fields, const TIndexDefs &indexes,
                     const QVector<ValidityCheck> &checks = {});
// Moves a table file built elsewhere on the same file system over `path`,
// in one step, once no other connection reads or writes the table there.
void replaceTableFile(const QString &built, const QString &path);

}
