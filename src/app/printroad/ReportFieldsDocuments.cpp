#include "app/printroad/ReportFieldsDocuments.h"

#include "app/PrintRequest.h"
#include "app/printroad/ReportData.h"
#include "app/printroad/ReportFields.h"
#include "app/printroad/ReportFieldsSupport.h"
#include "platform/db/TTable.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/Conversions.h"

#include <QFileInfo>

namespace printroad {
namespace {

// The running sums of the job's positions, kept in cents.
struct RunningSums
{
    double carry = 0;
    double quantity = 0;
    double blockCarry = 0;
    double blockQuantity = 0;
};

RunningSums sums;

// What tells a sales document from a purchase document.
struct DocumentKind
{
    TTable *head;
    QString headMissing; // "atr.qlocate(" or "bst.qlocate("
    TTable *partner;
    QString partnerPrefix;
    QString dateField; // date of the common variables
    bool sales;
};

const QString kCarry = QStringLiteral("Übertrag");
const QString kBlockCarry = QStringLiteral("ÜbertragBlock");
const QString kQuantity = QStringLiteral("SummeMenge");
const QString kBlockQuantity = QStringLiteral("SummeMengeBlock");

QString upperDescription()
{
    return textOf(tc, QStringLiteral("Bezeichnung")).toUpper();
}

bool isSubtotalLine()
{
    const QString description = upperDescription();
    return description == QLatin1String("#ZS") || description == QLatin1String("#Z");
}

void defineSums(int job)
{
    const QList<QPair<QString, double>> values = {{kCarry, sums.carry},
                                                  {kBlockCarry, sums.blockCarry},
                                                  {kQuantity, sums.quantity},
                                                  {kBlockQuantity, sums.blockQuantity}};
    for (const auto &[name, value] : values) {
        defineNumber(job, name, value, report::LL_NUMERIC, true);
        defineNumber(job, name, value, report::LL_NUMERIC, false);
    }
}

void startSums(int job)
{
    sums = RunningSums{};
    for (const QString &name : {kCarry, kQuantity})
        defineNumber(job, name, 0, report::LL_NUMERIC, true);
    for (const QString &name : {kCarry, kBlockCarry, kQuantity, kBlockQuantity})
        defineNumber(job, name, 0, report::LL_NUMERIC, false);
}

void addPosition(ReportFields &fields, int job)
{
    const QString totalField = fields.job().euroDruck ? QStringLiteral("gpreis") : QStringLiteral("gpreisWae");
    // The sums on paper add up the amounts as printed above them.
    const double total = roundCents(numberOf(tc, totalField));
    const double quantity = numberOf(tc, QStringLiteral("menge"));
    sums.carry = roundCents(sums.carry + total);
    sums.blockCarry = roundCents(sums.blockCarry + total);
    sums.quantity = roundCents(sums.quantity + quantity);
    sums.blockQuantity = roundCents(sums.blockQuantity + quantity);
    defineSums(job);
    if (upperDescription() == QLatin1String("#ZWB")) {
        sums.blockCarry = 0;
        sums.blockQuantity = 0;
    }
}

void definePosition(ReportFields &fields, int job, bool asVariables)
{
    const QString &key = PrintRequest().Datensatz;
    const bool empty = textOf(tc, QStringLiteral("auftragnr")) != key || isSubtotalLine();
    fields.TCDefineFields(job, tc, asVariables, empty, QString());
    const QString article = textOf(tc, QStringLiteral("artikelnr"));
    if (textOf(tc, QStringLiteral("Text")).isEmpty() && article.isEmpty())
        LlDefineField(job, QStringLiteral("Artikelnr"), QStringLiteral("  "));
    defineLookup(fields, job, tcArtikel, article, asVariables, QStringLiteral("Artikel_"), empty);
    const bool textLine = numberOf(tc, QStringLiteral("menge")) == 0 && numberOf(tc, QStringLiteral("epreis")) == 0
                          && numberOf(tc, QStringLiteral("gpreis")) == 0 && article.isEmpty();
    LlDefineFieldExt(job, QStringLiteral("TextPos"), textLine ? QStringLiteral("true") : QStringLiteral("false"),
                     report::LL_BOOLEAN, QString());
}

// A document without a date has no date to pay by either.
QString dateAfter(TDateTime baseDate, double days)
{
    return baseDate == 0 ? QString() : dateText(baseDate + days);
}

void definePaymentDates(int job, TTable *head, TDateTime baseDate)
{
    const QString due = dateAfter(baseDate, numberOf(head, QStringLiteral("zahlungIn")));
    const QString discount = dateAfter(baseDate, numberOf(head, QStringLiteral("SkontoTage")));
    LlDefineVariableExt(job, QStringLiteral("ZahlbarBisDatum"), due, report::LL_TEXT, QString());
    LlDefineVariableExt(job, QStringLiteral("SkontoBisDatum"), discount, report::LL_TEXT, QString());
}

TDateTime baseDateOf(TTable *head, bool sales)
{
    if (!sales)
        return dateOf(head, QStringLiteral("bestelldatum"));
    const TDateTime invoiceDate = dateOf(head, QStringLiteral("RGDatum"));
    return invoiceDate != 0 ? invoiceDate : dateOf(head, QStringLiteral("Datum"));
}

// Sales documents also carry the document number as bar codes, the
// delivery address and the representative.
void defineSalesExtras(ReportFields &fields, int job, TTable *head, const LookedUp &customer)
{
    fields.DefineBarcodes(job, textOf(head, QStringLiteral("auftragnr")), QStringLiteral("Auftragnr"));
    definePartnerBarcodes(fields, job, customer);
    const QString deliveryAddress = textOf(head, QStringLiteral("nrzweitadresse"));
    defineLookup(fields, job, tcKunden, deliveryAddress, true, QStringLiteral("Lieferadr_"), !customer.found());
    defineLookup(fields, job, tcMitarbei, textOf(head, QStringLiteral("vertreternr")), true,
                 QStringLiteral("Vertreter_"), !head);
}

// A head table of another program version lacks the field the documents
// are found by; that is said rather than that the document is missing.
QString headMissingText(const DocumentKind &kind, const QString &key)
{
    const QString keyField = QStringLiteral("auftragnr");
    if (kind.head && kind.head->Active() && !kind.head->FindField(keyField))
        return QStringLiteral("Der Tabelle %1 fehlt das Feld %2; der Datenordner passt nicht zu dieser "
                              "Programmversion.")
            .arg(QFileInfo(kind.head->TableName()).fileName(), keyField);
    return kind.headMissing + key + QStringLiteral(") erfolglos");
}

// The head of the document; a document whose head is missing is not
// printed with whatever head the cursor stands on.
bool findHead(ReportFields &fields, const DocumentKind &kind)
{
    const QString &key = PrintRequest().Datensatz;
    if (hasRecord(kind.head) && kind.head->FindKey({key}))
        return true;
    if (!fields.job().designer)
        fields.data().reportOnce(QStringLiteral("Fehler DefineFields"), headMissingText(kind, key));
    return false;
}

int defineHead(ReportFields &fields, int job, TTable *&slot, const DocumentKind &kind)
{
    if (fields.data().GetRecords(slot, QString()) == NothingToPrint)
        return NothingToPrint;
    DocumentTransaction numbers(tc->DatabaseName());
    const int limit = fields.data().NumberPositions(tc, PrintRequest().Datensatz);
    startSums(job);
    const bool headFound = findHead(fields, kind);
    if (!headFound && !fields.job().designer)
        return NothingToPrint;
    // The designer is prepared with an empty head, never with another one.
    TTable *head = headFound ? kind.head : nullptr;
    fields.job().euroDruck = textOf(head, QStringLiteral("Euro")) == QLatin1String("J");
    fields.DefineCommVars(job, dateOf(head, kind.dateField));
    fields.TCDefineFields(job, kind.head, true, !headFound, QString());
    definePaymentDates(job, head, baseDateOf(head, kind.sales));
    const LookedUp partner = defineLookup(fields, job, kind.partner, textOf(head, QStringLiteral("kundennr")), true,
                                          kind.partnerPrefix, !headFound);
    defineCountryName(fields, job, partner.text(QStringLiteral("Land")));
    const QString letter =
        replaceFirst(textOf(head, QStringLiteral("Kopftext")), QStringLiteral("#Briefanrede"), salutationOf(partner));
    LlDefineVariableExt(job, QStringLiteral("Kopftext"), letter, report::LL_TEXT, QString());
    if (kind.sales)
        defineSalesExtras(fields, job, head, partner);
    numbers.commit();
    return limit;
}

int documentFields(ReportFields &fields, int job, TTable *&slot, bool asVariables, const DocumentKind &kind)
{
    int limit = 0;
    if (!slot) {
        limit = defineHead(fields, job, slot, kind);
        if (limit == NothingToPrint)
            return limit;
    } else {
        addPosition(fields, job);
    }
    definePosition(fields, job, asVariables);
    return limit;
}

}

int SalesDocumentFields(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return documentFields(
        fields, job, slot, asVariables,
        {tcKopf, QStringLiteral("atr.qlocate("), tcKunden, QStringLiteral("Kunde_"), QStringLiteral("Datum"), true});
}

int PurchaseDocumentFields(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return documentFields(fields, job, slot, asVariables,
                          {tcBestell, QStringLiteral("bst.qlocate("), tcLiefer, QStringLiteral("Lieferant_"),
                           QStringLiteral("bestelldatum"), false});
}

}
