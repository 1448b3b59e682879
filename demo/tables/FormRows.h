#pragma once

#include "demo/tables/DemoRows.h"

namespace demo {

// The rows of Formular.db: a print row for every module and form type the
// print manager can print, and an "-eMail" row for every document type that
// has an e-mail tab.
Rows formRows();

// The layout or template file a form row names: module and form type joined
// by "_", umlauts and "ß" spelled out, blanks and points left out, then
// ".lst" (lists and forms), ".lbl" (labels) or ".frm" (e-mail templates).
QString formFileName(const QString &module, const QString &formType, const QString &extension);

}
