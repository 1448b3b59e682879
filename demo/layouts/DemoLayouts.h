#pragma once

#include "platform/report/Layout.h"

#include <QString>

namespace demo {

// Writes the demo report layouts into `formFolder`: the invoice
// "rechnung.lst", the address label sheet "adressen.lbl" and the article
// label "artikel.lbl" with its stand-in picture "artikelbild.png".
void writeLayouts(const QString &formFolder);

report::Layout invoiceLayout();
report::Layout addressLabelLayout();
report::Layout articleLabelLayout();

}
