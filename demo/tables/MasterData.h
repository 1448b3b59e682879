#pragma once

#include "demo/tables/DemoRows.h"

namespace demo {

// Customers, suppliers, staff, articles and what hangs on them.
Rows customerRows();
Rows supplierRows();
Rows staffRows();
Rows articleRows();
Rows countryRows();
Rows customerPriceRows();
Rows statisticsArticleRows();
Rows billOfMaterialRows();
Rows stockMovementRows();
Rows staffCustomerRows();

}
