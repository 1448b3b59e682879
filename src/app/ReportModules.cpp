#include "app/ReportModules.h"

#include "app/ReportFieldsLists.h"
#include "app/ReportFieldsMasterData.h"
#include "app/ReportFieldsOpenItems.h"

namespace printroad {

QList<ModuleBranch> ReportModuleBranches()
{
    return masterDataBranches() + orderBranches() + openItemBranches();
}

}
