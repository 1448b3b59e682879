#pragma once

#include "demo/tables/DemoRows.h"

namespace demo {

// The rows of Formular.db: a print row for every module and form type the
// print manager can print, and an "-eMail" row for every document type that
// has an e-mail tab.
Rows formRows();

// The layout or template file of a form: module and form type joined by
// "_", umlauts and "ß" spelled out, blanks and points left out, then
// `extension`: ".lst" (lists and forms), ".lbl" (labels) or ".frm" (e-mail
// templates). The rows store it without extension, as the form-entry dialog
// does; the print and e-mail roads add the extension of their output.
QString formFileName(const QString &module, const QString &formType, const QString &extension);

// The file in the form folder that a row of formRows() stands for.
QString formRowFile(const Row &row);

}
