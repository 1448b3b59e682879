#pragma once

#include "demo/tables/DemoRows.h"
#include "demo/tables/TableSpec.h"

#include <functional>

namespace demo {

using RowSource = std::function<Row(int index)>;

// Creates the table described by `spec` in `folder` through the data
// layer (replacing a table file of the same name) and appends `count` rows
// taken from `source`, all in one transaction. Every row is checked before
// it is written; on any error the new file is removed again, so no
// half-written table is left behind. Returns the path of the table file.
QString writeTableFile(const TableSpec &spec, const QString &folder, int count, const RowSource &source);

QString writeTableFile(const TableSpec &spec, const QString &folder, const Rows &rows);

}
