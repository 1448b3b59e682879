#pragma once

#include "demo/tables/DemoRows.h"

#include <QDate>

namespace demo {

// Sales documents (Auftrag.db, atrpos.db) and purchase documents
// (Bestell.db, bestpos.db) of the demo. Head amounts are summed from the
// positions, so lists and documents agree to the cent.
Rows orderRows();
Rows orderPositionRows();
Rows purchaseRows();
Rows purchasePositionRows();

// The gross amount of a demo document in euro, as its head carries it.
double salesDocumentTotal(const QString &orderNr);
double purchaseDocumentTotal(const QString &orderNr);

// Euro amounts of documents in the old currency are converted with the
// fixed rate and rounded to the cent.
constexpr double demoDmRate = 1.95583;

double roundCents(double value);

}
