#include "demo/layouts/DemoLayouts.h"

namespace demo {

void writeLayouts(const QString &formFolder)
{
    Q_UNUSED(formFolder);
}

}
