#pragma once

#include "platform/report/Layout.h"

#include <QString>
#include <QStringList>

namespace demo {

// Writes the demo report layouts into `formFolder`: the invoice
// "rechnung.lst", the address label sheet "adressen.lbl" and the article
// label "artikel.lbl" with its stand-in picture "artikelbild.png".
void writeLayouts(const QString &formFolder);

// A partner's address as German post expects it: salutation, first name
// and name, addition, street, postcode and town; `prefix` names the
// partner's fields.
QStringList postalAddress(const QString &prefix);
// The same for labels, which also know the country's name: a foreign
// address ends with its country.
QStringList addressWithCountry(const QString &prefix);

report::Layout invoiceLayout();
// Labels of modules that define no country name ("Land-Name") leave the
// country out; the layout would name a variable the print never defines.
report::Layout addressLabelLayout(bool countryName = true);
report::Layout articleLabelLayout();

}
