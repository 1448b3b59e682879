#pragma once

#include <QString>
#include <QStringList>

namespace os {

// Windows file masks: "*" any run of characters, "?" one character,
// without regard to case; "*.*" matches every name, a mask ending in "."
// also matches the name without extension.
bool matchesMask(const QString &name, const QString &mask);

// The files (not folders) in the mask's folder whose names match, with the
// folder resolved without regard to case, sorted by name without regard to
// case. A mask without folder looks in the current folder.
QStringList findFiles(const QString &pathWithMask);

} // namespace os
