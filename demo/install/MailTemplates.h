#pragma once

#include <QString>

namespace demo {

// Writes an e-mail template (".frm") for every e-mail row of the demo's form
// table into `formFolder`, under the file name the row names.
void writeMailTemplates(const QString &formFolder);

}
