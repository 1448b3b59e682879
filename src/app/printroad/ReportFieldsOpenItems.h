#pragma once

#include "app/printroad/ReportFields.h"

namespace printroad {

// The receivables side: open items of sales and purchase documents,
// incoming and outgoing payments, and the dunning letters.
QList<ModuleBranch> openItemBranches();

}
