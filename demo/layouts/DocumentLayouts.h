#pragma once

#include "platform/report/Layout.h"

#include <QList>
#include <QPair>
#include <QString>

namespace demo {

// The demo's document forms: sales and purchase documents, the dunning
// letter and the order form, each under the file name of its form row.
QList<QPair<QString, report::Layout>> documentLayouts();

}
