#pragma once

#include "platform/report/Layout.h"

#include <QList>
#include <QPair>
#include <QString>

namespace demo {

// The demo's list layouts, each under the file name its form row carries
// (see demo/tables/FormRows.cpp).
QList<QPair<QString, report::Layout>> listLayouts();

}
