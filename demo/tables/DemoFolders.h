#pragma once

#include <QString>

namespace demo {

// Creates a folder with its parents; raises EInOutError when it cannot.
void ensureFolder(const QString &path);

}
