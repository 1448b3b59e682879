#include "demo/tables/DemoTables.h"

namespace demo {

void writeTables(const QString &dataFolder)
{
    Q_UNUSED(dataFolder);
}

}
