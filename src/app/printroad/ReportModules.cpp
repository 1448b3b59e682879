#include "app/printroad/ReportModules.h"

#include "app/printroad/ReportFieldsLists.h"
#include "app/printroad/ReportFieldsMasterData.h"
#include "app/printroad/ReportFieldsOpenItems.h"

namespace printroad {

QList<ModuleBranch> ReportModuleBranches()
{
    return masterDataBranches() + orderBranches() + openItemBranches();
}

}
