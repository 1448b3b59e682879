#pragma once

class TTable;

namespace printroad {

class ReportFields;

// Sales documents (module "Auftrag") and purchase documents ("Bestellung")
// printed one job per document: the head as variables, the positions as
// table lines with their running sums and subtotal markers.
int SalesDocumentFields(ReportFields &fields, int job, TTable *&slot, bool asVariables);
int PurchaseDocumentFields(ReportFields &fields, int job, TTable *&slot, bool asVariables);

}
