#pragma once

#include "app/printroad/ReportFields.h"

#include <QString>

class TTable;

namespace printroad {

// The branches of the modules "Auftrag" and "Bestellung": lists of
// documents, address and article labels, and the documents themselves.
QList<ModuleBranch> orderBranches();

// The selection of sales documents the workstation's list settings ask
// for; empty when no document kind is chosen.
QString salesListSelection();

}
