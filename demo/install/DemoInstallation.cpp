#include "demo/install/DemoInstallation.h"

#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/DemoTables.h"

namespace demo {

void buildInstallation(const QString &folder, const QString &executable)
{
    Q_UNUSED(executable);
    writeTables(folder + QStringLiteral("/daten"));
    writeLayouts(folder + QStringLiteral("/formulare"));
}

}
