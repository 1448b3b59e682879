#pragma once

#include <QString>

namespace demo {

// The order the demo's print request names: the long invoice of the demo tables.
inline const QString demoOrderNumber = QStringLiteral("20260001");

// Writes a complete demo installation into `folder`: the program folder with
// the executable and Tintlen.ini, and the data, form, user and temp folders;
// the mail program beside them is registered in the registry stand-in.
// `executable` may be empty when only the data is wanted (test fixtures).
// Raises EInOutError when a folder or the executable cannot be written.
void buildInstallation(const QString &folder, const QString &executable);

}
