#pragma once

#include "platform/db/TFieldDefs.h"

#include <QString>
#include <QVector>

namespace db {

class Connection;

// A field's picture among the validity checks a table file keeps. The file
// numbers the field (from 1, in table order) as the suite's engine did;
// callers name it.
struct ValidityCheck
{
    QString fieldName;
    QString picture;
};

// The table inside a table file that holds its validity checks. It is never
// taken for the file's own table: no field list, row, index or query of the
// table sees it.
extern const QString validityCheckTable;

// Writes the checks into the file's table of validity checks, creating it;
// inside the caller's transaction. A check for a field that `fields` does
// not name raises EDatabaseError.
void writeValidityChecks(Connection &connection, const QVector<TFieldDef> &fields,
                         const QVector<ValidityCheck> &checks);
// The file's checks in field order, named by `fields` (the file's own
// fields). None for a file that keeps none (tables written before the
// checks were kept, or by another program); a check for a field number the
// table does not have is left out.
QVector<ValidityCheck> readValidityChecks(Connection &connection, const QVector<TFieldDef> &fields);

}
