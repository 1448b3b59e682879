#pragma once

#include "demo/tables/DemoRows.h"

namespace demo {

// Contact persons, the contact log, tasks, groups and group assignments.
Rows contactPersonRows();
Rows contactRows();
Rows taskRows();
Rows groupRows();
Rows groupAssignmentRows();

}
