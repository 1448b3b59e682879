#pragma once

#include "demo/tables/TableSpec.h"

namespace demo {

// Every table of the demo installation, in the order the writer creates
// them. The field lists are the ones the print and e-mail code read.
const QList<TableSpec> &tableCatalog();

// The description of one table by file name, without regard to case and
// with or without ".db"; raises Exception for an unknown name.
const TableSpec &tableSpec(const QString &fileName);

}
