#pragma once

#include "demo/tables/DemoRows.h"

namespace demo {

// The company settings, the workstation's print settings and the tax rates.
Rows companySetupRows();
Rows workstationSetupRows();
Rows taxRateRows();

}
