#include "app/printroad/ReportFieldsMasterData.h"

#include "app/PrintRequest.h"
#include "app/printroad/ReportData.h"
#include "app/printroad/ReportFieldsSupport.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/Conversions.h"

#include <cmath>

namespace printroad {
namespace {

const QString kNoPrefix;

// The first call of a job selects the records (an extra filter where the
// module needs one) and defines the common variables; later calls return 0.
int selectRecords(ReportFields &fields, int job, TTable *&slot, const QString &extraFilter = {})
{
    if (slot)
        return 0;
    // A module whose table could not be opened has been reported already.
    if (!tc || !tc->Active())
        return NothingToPrint;
    const int limit = fields.data().GetRecords(slot, extraFilter);
    if (limit != NothingToPrint)
        fields.DefineCommVars(job, Date());
    return limit;
}

QString field(const char *name)
{
    return textOf(tc, QLatin1String(name));
}

bool asListFields()
{
    return PrintRequest().FormTyp == QLatin1String("L");
}

int addresses(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    defineCountryName(fields, job, field("Land"));
    definePartnerBarcodes(fields, job, {tc, hasRecord(tc)});
    fields.DefineCommVars(job, Date());
    return limit;
}

double durationSum = 0;

TTable *ownerTable(const QString &module)
{
    if (module.endsWith(QLatin1Char('L')))
        return tcLiefer;
    if (module.endsWith(QLatin1Char('K')))
        return tcKunden;
    return tcMitarbei;
}

void defineDurations(ReportFields &fields, int job, bool first)
{
    if (first)
        durationSum = 0;
    else
        durationSum += numberOf(tc, QStringLiteral("Dauer"));
    defineNumber(job, QStringLiteral("SummeDauer"), durationSum, report::LL_NUMERIC, true);
    defineNumber(job, QStringLiteral("Durchschnitt"), durationSum / (fields.job().recordCounter + 1),
                 report::LL_NUMERIC, true);
}

int partnerContacts(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    if (first)
        defineLookup(fields, job, ownerTable(PrintRequest().Modul), PrintRequest().Datensatz, true, kNoPrefix);
    defineDurations(fields, job, first);
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    return limit;
}

int allContacts(ReportFields &fields, int job, TTable *&slot, bool)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    defineDurations(fields, job, first);
    fields.TCDefineFields(job, tc, false, false, kNoPrefix);
    defineLookup(fields, job, tcKunden, field("Nr"), false, QStringLiteral("Kunde_"));
    return limit;
}

int contactPersons(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    if (first) {
        TTable *partner = PrintRequest().Modul.endsWith(QLatin1Char('L')) ? tcLiefer : tcKunden;
        defineLookup(fields, job, partner, field("nr"), true, kNoPrefix);
    }
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    const QString freeField = tc->FindField(QStringLiteral("Freifeld1")) ? field("FreiFeld1") : field("FreiFeld01");
    LlDefineField(job, QStringLiteral("FreiFeld1"), freeField);
    LlDefineField(job, QStringLiteral("FreiFeld01"), freeField);
    return limit;
}

// Prices of one customer ("KunPreis") or of one article ("ArtPreis").
int prices(ReportFields &fields, int job, TTable *&slot, bool asVariables, bool ofCustomer)
{
    const bool first = !slot;
    const QString filter = (ofCustomer ? QStringLiteral("Kundennr=") : QStringLiteral("Artikelnr="))
                           + ReportData::filterLiteral(PrintRequest().Datensatz);
    const int limit = selectRecords(fields, job, slot, filter);
    if (limit == NothingToPrint)
        return limit;
    if (first && ofCustomer)
        defineLookup(fields, job, tcKunden, field("kundennr"), true, kNoPrefix);
    if (first && !ofCustomer)
        defineLookup(fields, job, tcArtikel, field("artikelnr"), true, kNoPrefix);
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    if (ofCustomer)
        defineLookup(fields, job, tcArtikel, field("Artikelnr"), asVariables, QStringLiteral("Artikel_"));
    else
        defineLookup(fields, job, tcKunden, field("kundennr"), asVariables, QStringLiteral("Kunde_"));
    return limit;
}

int customerPrices(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return prices(fields, job, slot, asVariables, true);
}

int articlePrices(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return prices(fields, job, slot, asVariables, false);
}

int customerDocuments(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    if (first) {
        for (const QString &name : {QStringLiteral("SummeRechnungen"), QStringLiteral("SummeOffenerBetrag"),
                                    QStringLiteral("SummeZahlbetrag")}) {
            const QString value = fields.GetDruckPara(PrintRequest().Modul, name);
            LlDefineFieldExt(job, name, value, report::LL_NUMERIC, QString());
            LlDefineVariableExt(job, name, value, report::LL_NUMERIC, QString());
        }
    }
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    defineLookup(fields, job, tcKunden, field("kundennr"), true, kNoPrefix);
    return limit;
}

// The sales statistics: positions of the period whose document exists,
// for "KunArt" also chosen (or left out) by the article list "KArtDru".
struct Statistics
{
    QString fromSetting;
    QString toSetting;
    bool byCustomer;
};

TDateTime settingDate(const QString &name)
{
    return dateOf(tcSetupLoc, name);
}

bool inChosenArticles(const QString &article)
{
    return hasRecord(tcKArtDru) && tcKArtDru->Locate(QStringLiteral("Artikelnr"), article, {});
}

// Only an invoiced document counts as a sale. A bound of the period that is
// not set does not limit it, as in the sales list.
bool inPeriod(const Statistics &statistics)
{
    const TDateTime invoiceDate = dateOf(tcKopf, QStringLiteral("RGDatum"));
    const TDateTime from = settingDate(statistics.fromSetting);
    const TDateTime to = settingDate(statistics.toSetting);
    return invoiceDate != 0 && (from == 0 || invoiceDate >= from) && (to == 0 || invoiceDate <= to);
}

bool qualifies(const Statistics &statistics)
{
    if (!hasRecord(tcKopf) || !tcKopf->FindKey({field("Auftragnr")}) || !inPeriod(statistics))
        return false;
    if (!statistics.byCustomer)
        return true;
    const bool leaveOut = textOf(tcSetupLoc, QStringLiteral("KunArtDruckJN")) == QLatin1String("N");
    return inChosenArticles(field("Artikelnr")) != leaveOut;
}

bool headMissing()
{
    return !hasRecord(tcKopf) || !tcKopf->FindKey({field("Auftragnr")});
}

// Moves `tc` from where it stands to the next position that belongs in
// the statistics; false when the table ended first, or (for "KunArt") when
// the current position's document does not exist.
bool selectPosition(const Statistics &statistics)
{
    while (!tc->Eof()) {
        if (statistics.byCustomer && headMissing())
            return false;
        if (qualifies(statistics))
            return true;
        tc->Next();
    }
    return false;
}

void defineStatisticsLine(ReportFields &fields, int job, bool asVariables, const Statistics &statistics, bool blank)
{
    fields.TCDefineFields(job, tc, asVariables, blank, kNoPrefix);
    fields.TCDefineFields(job, tcKopf, asVariables, blank || headMissing(),
                          statistics.byCustomer ? kNoPrefix : QStringLiteral("Auftrag_"));
    defineLookup(fields, job, tcKunden, field("kundennr"), statistics.byCustomer || asVariables,
                 statistics.byCustomer ? kNoPrefix : QStringLiteral("Kunde_"), blank);
}

int statistics(ReportFields &fields, int job, TTable *&slot, bool asVariables, const Statistics &statistics)
{
    if (!slot) {
        if (fields.data().GetRecords(slot, QString()) == NothingToPrint)
            return NothingToPrint;
        LlDefineVariableExt(job, QStringLiteral("DatumVon"), dateTextOf(tcSetupLoc, statistics.fromSetting),
                            report::LL_TEXT, QString());
        LlDefineVariableExt(job, QStringLiteral("DatumBis"), dateTextOf(tcSetupLoc, statistics.toSetting),
                            report::LL_TEXT, QString());
        if (!statistics.byCustomer)
            defineLookup(fields, job, tcArtikel, PrintRequest().Datensatz, true, kNoPrefix);
        defineStatisticsLine(fields, job, asVariables, statistics, true);
        fields.DefineCommVars(job, Date());
        return 999999;
    }
    const bool found = selectPosition(statistics);
    defineStatisticsLine(fields, job, asVariables, statistics, !found);
    return 0;
}

int customerArticles(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return statistics(fields, job, slot, asVariables,
                      {QStringLiteral("KunArtDruckVon"), QStringLiteral("KunArtDruckBis"), true});
}

int articleCustomers(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return statistics(fields, job, slot, asVariables,
                      {QStringLiteral("ArtKunDruckVon"), QStringLiteral("ArtKunDruckBis"), false});
}

AmountPair inventory;

void defineArticleBarcodes(ReportFields &fields, int job, const LookedUp &article)
{
    fields.DefineBarcodes(job, article.text(QStringLiteral("artikelnr")), QStringLiteral("Artikelnr"));
    const bool spelledFreifeld = article.table() && article.table()->FindField(QStringLiteral("Freifeld"));
    const QString freeField = spelledFreifeld ? QStringLiteral("Freifeld") : QStringLiteral("FreiFeld");
    fields.DefineBarcodes(job, article.text(freeField), freeField);
}

int articles(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    // The first call defines the first article without counting it; its
    // later call counts it, so no article is counted twice.
    if (first) {
        inventory = AmountPair{};
    } else {
        // Prices may be per hundred ("PreisEinheit"), as in the bill of materials.
        const double unit = numberOf(tc, QStringLiteral("PreisEinheit"));
        const double stock = numberOf(tc, QStringLiteral("Bestand")) / (unit > 0 ? unit : 1);
        const AmountPair price = amountOf(tc, QStringLiteral("EkPreis"));
        inventory.addRounded({stock * price.euro, stock * price.currency});
    }
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    defineArticleBarcodes(fields, job, {tc, hasRecord(tc)});
    defineEuroSum(fields, job, QStringLiteral("SummeInventur"), inventory);
    defineLookup(fields, job, tcLiefer, field("lieferantnr"), asVariables, QStringLiteral("Lieferant_"));
    return limit;
}

// The bill of material's sums, euro and currency.
struct MaterialSums
{
    double quantity = 0, purchase = 0, purchaseWae = 0, sales = 0, salesWae = 0, yield = 0, yieldWae = 0;
};

MaterialSums materialSums;

double roundFour(double value)
{
    return RoundTo(value, 4);
}

// A component's value at one of its prices, for the line's quantity.
double componentValue(const LookedUp &component, const QString &price, double quantity, double priceUnit)
{
    return component.number(price) * quantity / priceUnit;
}

void addComponent(const LookedUp &component, double quantity, double priceUnit)
{
    MaterialSums &s = materialSums;
    s.quantity = roundFour(s.quantity + quantity);
    s.purchase = roundFour(s.purchase + componentValue(component, QStringLiteral("EkPreis"), quantity, priceUnit));
    s.purchaseWae =
        roundFour(s.purchaseWae + componentValue(component, QStringLiteral("EkPreisWae"), quantity, priceUnit));
    s.sales = roundFour(s.sales + componentValue(component, QStringLiteral("VK1"), quantity, priceUnit));
    s.salesWae = roundFour(s.salesWae + componentValue(component, QStringLiteral("VK1Wae"), quantity, priceUnit));
    s.yield = roundFour(s.sales - s.purchase);
    s.yieldWae = roundFour(s.salesWae - s.purchaseWae);
}

// A component that is not among the articles has no value: its line shows
// none rather than the assembly's, on which the articles stand.
void defineComponentTotal(ReportFields &fields, int job, const QString &name, const LookedUp &component,
                          const QString &price, double quantity, double priceUnit)
{
    if (!component.found()) {
        fields.DefineEmptyEuroAmount(job, name, report::LL_NUMERIC, false);
        return;
    }
    fields.DefineEuroField(job, name, report::LL_NUMERIC, componentValue(component, price, quantity, priceUnit),
                           componentValue(component, price + QStringLiteral("Wae"), quantity, priceUnit));
}

int billOfMaterial(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    if (first)
        materialSums = MaterialSums{};
    defineLookup(fields, job, tcArtikel, field("OArtikelnr"), true, kNoPrefix);
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    const LookedUp component = defineLookup(fields, job, tcArtikel, field("Artikelnr"), asVariables, kNoPrefix);
    const double unit = RoundTo(component.number(QStringLiteral("PreisEinheit")), 2);
    const double priceUnit = unit != 0 ? unit : 1;
    const double quantity = numberOf(tc, QStringLiteral("Menge"));
    defineComponentTotal(fields, job, QStringLiteral("EKGesamtPreis"), component, QStringLiteral("EkPreis"), quantity,
                         priceUnit);
    defineComponentTotal(fields, job, QStringLiteral("VKGesamtPreis"), component, QStringLiteral("VK1"), quantity,
                         priceUnit);
    if (!first && component.found())
        addComponent(component, quantity, priceUnit);
    const MaterialSums &s = materialSums;
    defineEuroSum(fields, job, QStringLiteral("SummeErtrag"), {s.yield, s.yieldWae});
    defineEuroSum(fields, job, QStringLiteral("SummeEK"), {s.purchase, s.purchaseWae});
    defineEuroSum(fields, job, QStringLiteral("SummeVK"), {s.sales, s.salesWae});
    defineNumber(job, QStringLiteral("SummeMenge"), s.quantity, report::LL_NUMERIC, false);
    defineNumber(job, QStringLiteral("SummeMenge"), s.quantity, report::LL_NUMERIC, true);
    return limit;
}

int supplierArticles(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    if (first)
        defineLookup(fields, job, tcLiefer, PrintRequest().Datensatz, true, kNoPrefix);
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    const QString suffix = fields.job().euroDruck ? QString() : QStringLiteral("Wae");
    const double purchase = numberOf(tc, QStringLiteral("ekpreis") + suffix);
    const double sales = numberOf(tc, QStringLiteral("vk1") + suffix);
    // Without a purchase price there is no margin; the line shows none.
    const QString margin = purchase == 0 ? QString() : ReportFields::numberText((sales / purchase - 1) * 100);
    LlDefineFieldExt(job, QStringLiteral("Gewinnspanne"), margin, report::LL_NUMERIC, QString());
    return limit;
}

int staffCustomers(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const bool first = !slot;
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    if (first)
        defineLookup(fields, job, tcMitarbei, field("mitarbeiternr"), true, kNoPrefix);
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    defineLookup(fields, job, tcKunden, field("kundennr"), asVariables, QStringLiteral("Kunde_"));
    return limit;
}

// Receipt labels may print as many copies as units were received.
void setLabelCopies(ReportFields &fields)
{
    if (!hasRecord(tcSetup) || !tcSetup->FindField(QStringLiteral("LagEtikAnzUebern")))
        return;
    if (textOf(tcSetup, QStringLiteral("LagEtikAnzUebern")) != QLatin1String("J")
        || PrintRequest().FormFilterTyp != QLatin1String("Etikett") || !hasRecord(tc))
        return;
    const int received = int(std::lround(numberOf(tc, QStringLiteral("zugang"))));
    fields.job().copies = received == 0 ? 1 : received;
}

int stockMovements(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    const bool empty = !hasRecord(tc);
    fields.TCDefineFields(job, tc, asVariables, false, QStringLiteral("Lagerbew_"));
    LlDefineFieldExt(job, QStringLiteral("Lagerbew_Artikelnr"), field("artikelnr"), report::LL_TEXT, QString());
    const LookedUp article = defineLookup(fields, job, tcArtikel, field("artikelnr"), asVariables, kNoPrefix, empty);
    defineLookup(fields, job, tcLiefer, field("lfrnr"), asVariables, QStringLiteral("Lieferant_"), empty);
    defineArticleBarcodes(fields, job, article);
    setLabelCopies(fields);
    return limit;
}

int orderForm(ReportFields &fields, int job, TTable *&slot, bool)
{
    if (slot)
        return 0;
    if (selectRecords(fields, job, slot) == NothingToPrint)
        return NothingToPrint;
    LlDefineVariableExt(job, QStringLiteral("dmy"), fields.GetDruckPara(PrintRequest().Modul, QStringLiteral("dmy")),
                        report::LL_TEXT, QString());
    return 1;
}

int customerTasks(ReportFields &fields, int job, TTable *&slot, bool)
{
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    fields.TCDefineFields(job, tc, false, false, kNoPrefix);
    defineLookup(fields, job, tcKunden, field("Nr"), true, kNoPrefix);
    defineLookup(fields, job, tcKontakte, field("LfdNrKontakt"), true, QStringLiteral("Kontakt_"));
    return limit;
}

int allTasks(ReportFields &fields, int job, TTable *&slot, bool)
{
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    const bool asVariables = !asListFields();
    fields.TCDefineFields(job, tc, asVariables, false, kNoPrefix);
    defineLookup(fields, job, tcKunden, field("Nr"), asVariables, QStringLiteral("Kunde_"));
    defineLookup(fields, job, tcKontakte, field("LfdNrKontakt"), asVariables, QStringLiteral("Kontakt_"));
    return limit;
}

int plainTable(ReportFields &fields, int job, TTable *&slot, bool)
{
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    fields.TCDefineFields(job, tc, !asListFields(), false, kNoPrefix);
    return limit;
}

// Group assignments of one customer ("GrZuord-K") or of one group
// ("GrZuord-G").
int groupAssignments(ReportFields &fields, int job, TTable *&slot, bool ofGroup)
{
    const int limit = selectRecords(fields, job, slot);
    if (limit == NothingToPrint)
        return limit;
    const bool asVariables = !asListFields();
    fields.TCDefineFields(job, tc, asVariables, false, ofGroup ? QStringLiteral("GrZuord_") : kNoPrefix);
    defineLookup(fields, job, tcKunden, field("Nr"), ofGroup ? asVariables : true, kNoPrefix);
    defineLookup(fields, job, tcGruppen, field("Gruppe"), asVariables, QStringLiteral("Gruppe_"));
    return limit;
}

int customerGroups(ReportFields &fields, int job, TTable *&slot, bool)
{
    return groupAssignments(fields, job, slot, false);
}

int groupCustomers(ReportFields &fields, int job, TTable *&slot, bool)
{
    return groupAssignments(fields, job, slot, true);
}

}

QList<ModuleBranch> masterDataBranches()
{
    return {
        {QStringLiteral("Kunden"), false, addresses},          {QStringLiteral("KunPreis"), false, customerPrices},
        {QStringLiteral("Ansprech"), true, contactPersons},    {QStringLiteral("Kontakte-"), true, partnerContacts},
        {QStringLiteral("ArtPreis"), false, articlePrices},    {QStringLiteral("Artikel"), false, articles},
        {QStringLiteral("Stückliste"), false, billOfMaterial}, {QStringLiteral("Liefer"), false, addresses},
        {QStringLiteral("LfrArt"), false, supplierArticles},   {QStringLiteral("Mitarbei"), false, addresses},
        {QStringLiteral("MabKun"), false, staffCustomers},     {QStringLiteral("Lagerbew"), false, stockMovements},
        {QStringLiteral("KunAtr"), false, customerDocuments},  {QStringLiteral("KunArt"), false, customerArticles},
        {QStringLiteral("ArtKun"), false, articleCustomers},   {QStringLiteral("ZVBestellform"), false, orderForm},
        {QStringLiteral("Aufgaben-"), true, customerTasks},    {QStringLiteral("Aufgaben"), false, allTasks},
        {QStringLiteral("Gruppen"), false, plainTable},        {QStringLiteral("Textbausteine"), false, plainTable},
        {QStringLiteral("GrZuord-K"), false, customerGroups},  {QStringLiteral("GrZuord-G"), false, groupCustomers},
        {QStringLiteral("Kontakte"), false, allContacts},
    };
}

}
