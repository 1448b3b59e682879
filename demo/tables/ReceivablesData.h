#pragma once

#include "demo/tables/DemoRows.h"

namespace demo {

// Open items, the dunning proposal with its five levels, and the payments
// booked against the demo documents over October and November.
Rows openItemRows();
Rows purchaseOpenItemRows();
Rows dunningProposalRows();
Rows dunningLevelRows();
Rows paymentRows();
Rows purchasePaymentRows();

}
