#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantHash>

namespace demo {

// One record by field name; a field the row leaves out stays null, a
// QString() value is stored as an empty text, not as null.
using Row = QVariantHash;
using Rows = QList<Row>;

// Builds rows from a column list and one value list per row, so that the
// larger tables read like tables.
Rows rowsOf(const QStringList &columns, const QList<QVariantList> &values);

// The demo rows of one table of the catalog (by file name, case-free).
Rows demoRows(const QString &tableName);

// Position number `index` (from 0) of the load-test positions: orders of
// forty positions numbered "90000000" on, after the demo orders; the same
// row for the same index every run.
Row bulkPositionRow(int index);

}
