#pragma once

#include "platform/report/Layout.h"

#include <QList>
#include <QPair>
#include <QString>

namespace demo {

// Every layout the demo's form rows name, with its file name.
QList<QPair<QString, report::Layout>> moduleLayouts();

// Writes them into `formFolder` (which must exist).
void writeModuleLayouts(const QString &formFolder);

}
