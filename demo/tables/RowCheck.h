#pragma once

#include "demo/tables/DemoRows.h"
#include "demo/tables/TableSpec.h"

namespace demo {

// Checks one row against its table before anything is written: every
// field exists, every value fits the field's type and size. Raises
// EDatabaseError with a German message naming table, row and field.
void checkRow(const TableSpec &spec, const Row &row, int rowNumber);

// Checks all rows and that no two of them share a key.
void checkRows(const TableSpec &spec, const Rows &rows);

// A row's value of a field, found without regard to case; null when the
// row leaves the field out.
QVariant valueOf(const Row &row, const QString &field);

// The key of a row as one text, for duplicate checks and sorting.
QString keyOf(const TableSpec &spec, const Row &row);

}
