#pragma once

#include "platform/db/TFieldDefs.h"
#include "platform/db/TIndexDefs.h"

#include <QString>
#include <QVector>

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
// The schema, read again only when the file changed since the last reading.
TableSchema cachedSchema(Connection &connection);
bool isTextType(TFieldType type);
bool isBlobType(TFieldType type);

// Writes a new table file atomically: built beside the target under a
// temporary name, then renamed over it.
void createTableFile(const QString &path, const QString &tableName, const TFieldDefs &fields,
                     const TIndexDefs &indexes);

}
