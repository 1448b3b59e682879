#pragma once

#include <QString>

namespace demo {

// The order the demo's print request names; the demo tables hold it.
inline const QString demoOrderNumber = QStringLiteral("10001");

// Writes a complete demo installation into `folder`: the program folder with
// the executable and Tintlen.ini, and the data, form, user and temp folders.
// `executable` may be empty when only the data is wanted (test fixtures).
// Raises EInOutError when a folder or the executable cannot be written.
void buildInstallation(const QString &folder, const QString &executable);

}
