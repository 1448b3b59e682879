#include "app/printroad/ReportFieldsLists.h"

#include "app/PrintRequest.h"
#include "app/printroad/ReportData.h"
#include "app/printroad/ReportFieldsDocuments.h"
#include "app/printroad/ReportFieldsSupport.h"
#include "platform/db/TTable.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/Conversions.h"

namespace printroad {
namespace {

// The sums of the sales list, euro and document currency.
struct ListSums
{
    AmountPair value, net, commission, paidValue, paidNet, paidCommission;
};

ListSums listSums;

struct KindTerm
{
    const char *setting;
    const char *term;
};

const KindTerm kindTerms[] = {
    {"AtrLstAL", "(AuftragArt= '0')"},
    {"AtrLstAG", "(AuftragArt= '1' OR AtrTyp1= 'J')"},
    {"AtrLstAB", "(AuftragArt= '2' OR AtrTyp2= 'J')"},
    {"AtrLstLS", "(AuftragArt= '3' OR AtrTyp3= 'J')"},
    {"AtrLstRG", "(AuftragArt= '4' OR AtrTyp4= 'J')"},
    {"AtrLstRB", "(AuftragArt= '5' OR AtrTyp5= 'J')"},
    {"AtrLstGS", "(AuftragArt= '6' OR AtrTyp6= 'J')"},
};

QString setting(const QString &field)
{
    return textOf(tcSetupLoc, field);
}

bool isOn(const QString &field)
{
    return setting(field) == QLatin1String("J");
}

QString restricted(const QString &selection, const QString &term)
{
    return QStringLiteral("(") + selection + QStringLiteral(") AND ") + term;
}

void defineListPeriod(int job)
{
    const bool period = setting(QStringLiteral("AtrLstBereich")) == QLatin1String("Z");
    const QString from = period ? dateTextOf(tcSetupLoc, QStringLiteral("AtrLstVon")) : QString();
    const QString to = period ? dateTextOf(tcSetupLoc, QStringLiteral("AtrLstBis")) : QString();
    LlDefineVariableExt(job, QStringLiteral("DatumVon"), from, report::LL_TEXT, QString());
    LlDefineVariableExt(job, QStringLiteral("DatumBis"), to, report::LL_TEXT, QString());
}

AmountPair centsOf(const QString &field)
{
    const AmountPair amount = amountOf(tc, field);
    return {roundCents(amount.euro), roundCents(amount.currency)};
}

void addListDocument()
{
    const AmountPair value = centsOf(QStringLiteral("endbetrag"));
    const AmountPair commission = centsOf(QStringLiteral("provisionsbetrag"));
    const AmountPair net1 = centsOf(QStringLiteral("Endbetrag1Netto"));
    const AmountPair net2 = centsOf(QStringLiteral("Endbetrag2Netto"));
    listSums.value.addRounded(value);
    listSums.net.addRounded({net1.euro + net2.euro, net1.currency + net2.currency});
    listSums.commission.addRounded(commission);
    if (textOf(tc, QStringLiteral("alsBezahltgebucht")) != QLatin1String("J"))
        return;
    listSums.paidValue.addRounded(value);
    listSums.paidNet.addRounded(value - centsOf(QStringLiteral("steuer1")) - centsOf(QStringLiteral("steuer2")));
    listSums.paidCommission.addRounded(commission);
}

void defineListSums(ReportFields &fields, int job)
{
    const QList<QPair<QString, const AmountPair *>> sums = {
        {"SummeAuftragswert", &listSums.value},           {"SummeAuftragswertNetto", &listSums.net},
        {"SummeProvision", &listSums.commission},         {"SummeBezAuftragswert", &listSums.paidValue},
        {"SummeBezAuftragswertNetto", &listSums.paidNet}, {"SummeBezProvision", &listSums.paidCommission}};
    for (const auto &[name, amount] : sums)
        defineEuroSum(fields, job, name, *amount);
}

int startSalesList(ReportFields &fields, int job, TTable *&slot)
{
    defineListPeriod(job);
    const QString selection = salesListSelection();
    if (selection.isEmpty())
        return NothingToPrint;
    const int limit = fields.data().GetRecords(slot, selection);
    listSums = ListSums{};
    if (limit == NothingToPrint)
        return limit;
    if (!hasRecord(tc)) {
        fields.data().reportOnce(QString(), QStringLiteral("Keine Aufträge im gewählten Bereich vorhanden!"));
        return NothingToPrint;
    }
    fields.DefineCommVars(job, Date());
    return limit;
}

int salesList(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    int limit = 0;
    if (!slot) {
        limit = startSalesList(fields, job, slot);
        if (limit == NothingToPrint)
            return limit;
    } else {
        addListDocument();
    }
    fields.TCDefineFields(job, tc, asVariables, false, QString());
    LlDefineVariableExt(job, QStringLiteral("Anzahl"), IntToStr(limit), report::LL_TEXT, QString());
    defineListSums(fields, job);
    defineLookup(fields, job, tcKunden, textOf(tc, QStringLiteral("kundennr")), asVariables, QStringLiteral("Kunde_"));
    defineLookup(fields, job, tcMitarbei, textOf(tc, QStringLiteral("vertreternr")), asVariables,
                 QStringLiteral("Vertreter_"));
    return limit;
}

// Address labels of the documents' partners; `prefixed` puts the partner's
// fields under a prefix, else they replace head fields of the same name.
int addressLabels(ReportFields &fields, int job, TTable *&slot, TTable *partner, const QString &prefix, bool sales)
{
    int limit = 0;
    if (!slot) {
        limit = fields.data().GetRecords(slot, QString());
        if (limit == NothingToPrint)
            return limit;
    }
    fields.TCDefineFields(job, tc, true, false, QString());
    const LookedUp record = defineLookup(fields, job, partner, textOf(tc, QStringLiteral("kundennr")), true, prefix);
    if (sales)
        defineCountryName(fields, job, record.text(QStringLiteral("Land")));
    definePartnerBarcodes(fields, job, record);
    fields.DefineCommVars(job, Date());
    return limit;
}

// Article labels of the positions of one document; purchase labels define
// the common variables with every label.
int articleLabels(ReportFields &fields, int job, TTable *&slot, bool purchase)
{
    TTable *partner = purchase ? tcLiefer : tcKunden;
    const QString partnerPrefix = purchase ? QStringLiteral("Lieferant_") : QStringLiteral("Kunde_");
    TTable *head = purchase ? tcBestell : tcKopf;
    const QString &key = PrintRequest().Datensatz;
    int limit = 0;
    const bool first = !slot;
    if (first) {
        if (fields.data().GetRecords(slot, QString()) == NothingToPrint)
            return NothingToPrint;
        limit = 999999;
        tc->SetRange({key}, {key});
        defineLookup(fields, job, partner, textOf(tc, QStringLiteral("kundennr")), true, partnerPrefix);
    }
    if (first || purchase)
        fields.DefineCommVars(job, Date());
    fields.TCDefineFields(job, tc, true, false, QString());
    defineLookup(fields, job, tcArtikel, textOf(tc, QStringLiteral("artikelnr")), true, QStringLiteral("Artikel_"));
    defineLookup(fields, job, head, key, true, QString());
    return limit;
}

int purchaseList(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    int limit = 0;
    if (!slot) {
        limit = fields.data().GetRecords(slot, QString());
        if (limit == NothingToPrint)
            return limit;
    }
    fields.TCDefineFields(job, tc, asVariables, false, QString());
    defineLookup(fields, job, tcLiefer, textOf(tc, QStringLiteral("kundennr")), asVariables,
                 QStringLiteral("Lieferant_"));
    fields.DefineCommVars(job, Date());
    return limit;
}

int salesRoutine(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const QString &type = PrintRequest().FormFilterTyp;
    if (type == QLatin1String("Liste") || type == QLatin1String("Provisionsliste"))
        return salesList(fields, job, slot, asVariables);
    if (type == QLatin1String("Etikett"))
        return addressLabels(fields, job, slot, tcKunden, QString(), true);
    if (type == QLatin1String("Sonstiges"))
        return addressLabels(fields, job, slot, tcKunden, QStringLiteral("Kunde_"), true);
    if (type == QLatin1String("EtikettArt"))
        return articleLabels(fields, job, slot, false);
    return SalesDocumentFields(fields, job, slot, asVariables);
}

int purchaseRoutine(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const QString &type = PrintRequest().FormFilterTyp;
    if (type == QLatin1String("Liste"))
        return purchaseList(fields, job, slot, asVariables);
    if (type == QLatin1String("Etikett"))
        return addressLabels(fields, job, slot, tcLiefer, QString(), false);
    if (type == QLatin1String("EtikettSon"))
        return addressLabels(fields, job, slot, tcLiefer, QStringLiteral("Lieferant_"), false);
    if (type == QLatin1String("EtikettArt"))
        return articleLabels(fields, job, slot, true);
    return PurchaseDocumentFields(fields, job, slot, asVariables);
}

}

QString salesListSelection()
{
    QStringList kinds;
    for (const KindTerm &kind : kindTerms) {
        if (isOn(QLatin1String(kind.setting)))
            kinds << QLatin1String(kind.term);
    }
    QString selection = kinds.join(QStringLiteral(" OR "));
    if (selection.isEmpty())
        return selection;
    if (setting(QStringLiteral("AtrLstBereich")) == QLatin1String("M"))
        selection = restricted(selection, QStringLiteral("MARK= 'J'"));
    if (isOn(QStringLiteral("AtrLstVertreter"))) {
        const QString representative = setting(QStringLiteral("AtrLstVertreternr"));
        selection = restricted(selection, representative.isEmpty() ? QStringLiteral("Vertreternr<> ''")
                                                                   : QStringLiteral("Vertreternr= ")
                                                                         + ReportData::filterLiteral(representative));
    }
    if (setting(QStringLiteral("AtrLstBereich")) == QLatin1String("Z")) {
        const QString from = dateTextOf(tcSetupLoc, QStringLiteral("AtrLstVon"));
        const QString to = dateTextOf(tcSetupLoc, QStringLiteral("AtrLstBis"));
        if (!from.isEmpty())
            selection = restricted(selection, QStringLiteral("Datum>=") + ReportData::filterLiteral(from));
        if (!to.isEmpty())
            selection = restricted(selection, QStringLiteral("Datum<=") + ReportData::filterLiteral(to));
    }
    return selection;
}

QList<ModuleBranch> orderBranches()
{
    return {{QStringLiteral("Auftrag"), false, salesRoutine}, {QStringLiteral("Bestellung"), false, purchaseRoutine}};
}

}
