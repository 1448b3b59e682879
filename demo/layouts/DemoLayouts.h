#pragma once

#include <QString>

namespace demo {

// Writes the demo report layouts into `formFolder`.
void writeLayouts(const QString &formFolder);

}
