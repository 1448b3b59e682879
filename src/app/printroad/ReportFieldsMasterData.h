#pragma once

#include "app/printroad/ReportFields.h"

namespace printroad {

// Master data, prices, stock, statistics, tasks, groups and contacts, in
// the order their module names must be tried.
QList<ModuleBranch> masterDataBranches();

}
