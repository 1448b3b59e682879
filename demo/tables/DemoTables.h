#pragma once

#include <QString>

namespace demo {

// Creates every table of the demo installation, with its data, in `dataFolder`.
void writeTables(const QString &dataFolder);

}
