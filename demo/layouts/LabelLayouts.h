#pragma once

#include "platform/report/Layout.h"

#include <QList>
#include <QPair>
#include <QString>

namespace demo {

// The demo's label layouts, each under the file name of its form row.
QList<QPair<QString, report::Layout>> labelLayouts();

}
