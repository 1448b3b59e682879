#pragma once

#include <QString>

namespace demo {

// Writes a complete demo installation into `folder`; `executable` is copied
// into its program folder so that the ini file sits beside it.
void buildInstallation(const QString &folder, const QString &executable);

}
