#pragma once

#include "app/printroad/ReportFields.h"

namespace printroad {

// The field definitions of every module the print road knows, in the order
// their module names are to be tried.
QList<ModuleBranch> ReportModuleBranches();

}
