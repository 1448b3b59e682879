#include "app/printroad/ReportFieldsOpenItems.h"

#include "app/PrintRequest.h"
#include "app/printroad/ReportData.h"
#include "app/printroad/ReportFieldsSupport.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/Conversions.h"

namespace printroad {
namespace {

AmountPair openSum, valueSum, paidSum;

// Open items of sales ("Offene Posten") or purchase documents ("OpoBList").
struct OpenItemList
{
    QString value; // "auftragswert" or "Auftragswert"
    QString paid;
    bool purchase;
};

void addOpenItem(const OpenItemList &list)
{
    const AmountPair value = amountOf(tc, list.value);
    const AmountPair paid = amountOf(tc, list.paid);
    openSum.addRounded(list.purchase ? value - paid : amountOf(tc, QStringLiteral("offenerBetrag")));
    valueSum.addRounded(value);
    paidSum.addRounded(paid);
}

int openItems(ReportFields &fields, int job, TTable *&slot, bool asVariables, const OpenItemList &list)
{
    int limit = 0;
    if (!slot) {
        limit = fields.data().GetRecords(slot, QString());
        if (limit == NothingToPrint)
            return limit;
        openSum = valueSum = paidSum = AmountPair{};
        fields.DefineCommVars(job, Date());
    } else if (hasRecord(tc)) {
        addOpenItem(list);
    }
    defineEuroSum(fields, job, QStringLiteral("SummeOffenerBetrag"), openSum);
    defineEuroSum(fields, job, QStringLiteral("SummeAuftragswert"), valueSum);
    defineEuroSum(fields, job, QStringLiteral("SummeZahlbetrag"), paidSum);
    fields.TCDefineFields(job, tc, asVariables, false, QString());
    const bool empty = !hasRecord(tc);
    TTable *partner = list.purchase ? tcLiefer : tcKunden;
    TTable *head = list.purchase ? tcBestell : tcKopf;
    defineLookup(fields, job, partner, textOf(tc, QStringLiteral("kundennr")), asVariables,
                 list.purchase ? QStringLiteral("Lieferant_") : QStringLiteral("Kunde_"), empty);
    defineLookup(fields, job, head, textOf(tc, QStringLiteral("auftragnr")), asVariables,
                 list.purchase ? QStringLiteral("Bestellung_") : QStringLiteral("Auftrag_"), empty);
    return limit;
}

int salesOpenItems(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return openItems(fields, job, slot, asVariables,
                     {QStringLiteral("auftragswert"), QStringLiteral("gezahlt"), false});
}

int purchaseOpenItems(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return openItems(fields, job, slot, asVariables, {QStringLiteral("Auftragswert"), QStringLiteral("Gezahlt"), true});
}

// The payment period travels in the record key as ">=from<sep><=to".
struct Period
{
    QString from;
    QString to;
};

Period periodOf(QString key)
{
    const qsizetype from = key.indexOf(QStringLiteral(">="));
    if (from >= 0)
        key.remove(from, 2);
    const qsizetype to = key.indexOf(QStringLiteral("<="));
    if (to < 0)
        return {key, QString()};
    return {key.left(qMax<qsizetype>(0, to - 1)), key.mid(to + 2)};
}

QString paymentFilter(const Period &period)
{
    QStringList terms;
    if (!period.from.isEmpty())
        terms << QStringLiteral("Zahldatum>=") + ReportData::filterLiteral(period.from);
    if (!period.to.isEmpty())
        terms << QStringLiteral("Zahldatum<=") + ReportData::filterLiteral(period.to);
    return terms.join(QStringLiteral(" AND "));
}

QString paymentIndex(const QChar &choice)
{
    if (choice == QLatin1Char('1'))
        return QStringLiteral("UMSKUNATRNR");
    if (choice == QLatin1Char('2'))
        return QStringLiteral("UMSZAHLDATUM");
    if (choice == QLatin1Char('3'))
        return QStringLiteral("UMSBELEG");
    return QString(choice);
}

// Selects the payments of the period. The request is only lent to the
// selection: a second print of the same request selects the same payments.
int selectPayments(ReportFields &fields, int job, TTable *&slot)
{
    TPrintRequest &request = PrintRequest();
    const TPrintRequest kept = request;
    if (request.Datenbereich.size() >= 2) {
        request.Datenindex = paymentIndex(request.Datenbereich.at(1));
        request.Datenbereich = request.Datenbereich.left(1);
    }
    const Period period = periodOf(request.Datensatz);
    request.Datenfilter = paymentFilter(period);
    int limit = NothingToPrint;
    try {
        limit = fields.data().GetRecords(slot, request.Datenfilter);
    } catch (...) {
        request = kept;
        throw;
    }
    request = kept;
    paidSum = AmountPair{};
    LlDefineVariableExt(job, QStringLiteral("DatumVon"), period.from, report::LL_TEXT, QString());
    LlDefineVariableExt(job, QStringLiteral("DatumBis"), period.to, report::LL_TEXT, QString());
    fields.DefineCommVars(job, Date());
    return limit;
}

int payments(ReportFields &fields, int job, TTable *&slot, bool asVariables, bool incoming)
{
    int limit = 0;
    if (!slot) {
        limit = selectPayments(fields, job, slot);
        if (limit == NothingToPrint)
            return limit;
    } else {
        const AmountPair paid = amountOf(tc, QStringLiteral("zahlbetrag"));
        paidSum.euro += paid.euro;
        paidSum.currency += paid.currency;
    }
    fields.TCDefineFields(job, tc, asVariables, false, QString());
    defineEuroSum(fields, job, QStringLiteral("SummeZahlbetrag"), paidSum);
    defineLookup(fields, job, tcKunden, textOf(tc, QStringLiteral("kundennr")), asVariables,
                 incoming ? QStringLiteral("Kunde_") : QStringLiteral("Lieferant_"));
    defineLookup(fields, job, tcKopf, textOf(tc, QStringLiteral("auftragnr")), asVariables,
                 incoming ? QStringLiteral("Auftrag_") : QStringLiteral("Bestell_"));
    return limit;
}

int incomingPayments(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return payments(fields, job, slot, asVariables, true);
}

int outgoingPayments(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    return payments(fields, job, slot, asVariables, false);
}

// What a dunning letter records in one open item.
const QStringList kInterestFields = {QStringLiteral("mahnzinsen"), QStringLiteral("mahnzinsbetrag"),
                                     QStringLiteral("mahnzinsbetragWae"), QStringLiteral("mahnzinstage")};

// The letter records in the open item on which the open items stand the
// date of its level and the proposal's interest. The designer prints no
// letter, so it records nothing.
void recordDunning(ReportFields &fields, int level)
{
    if (fields.job().designer)
        return;
    tcOffPos->Edit();
    if (level >= 1 && level <= 5)
        tcOffPos->FieldByName(QStringLiteral("mahndatum") + QString::number(level))->SetValue(ToQDate(Date()));
    for (const QString &field : kInterestFields)
        tcOffPos->FieldByName(field)->SetValue(tc->FieldByName(field)->Value());
    tcOffPos->Post();
}

struct DunningRun
{
    int level = 1;
    int limit = 0;
    bool anyItem = false;
    AmountPair open;
    AmountPair interest;
};

void collectProposalRow(ReportFields &fields, DunningRun &run)
{
    const QString document = textOf(tc, QStringLiteral("auftragnr"));
    if (!hasRecord(tcOffPos) || !tcOffPos->FindKey({document}))
        return;
    const int level = tc->FieldByName(QStringLiteral("mahnstufe"))->AsInteger();
    // Only a valid level may choose the letter's parameters.
    if (level >= 1 && level <= 5)
        run.level = qMax(run.level, level);
    else
        fields.data().reportOnce(QString(),
                                 QStringLiteral("Mahnstufe bei OP ") + document + QStringLiteral(" ungültig"));
    recordDunning(fields, level);
    run.anyItem = true;
    run.open.addRounded(amountOf(tcOffPos, QStringLiteral("offenerBetrag")));
    run.interest.addRounded(amountOf(tc, QStringLiteral("mahnzinsbetrag")));
    run.limit = tc->RecNo();
}

DunningRun collectDunningRun(ReportFields &fields, int limit)
{
    const QString &customer = PrintRequest().Datensatz;
    DunningRun run;
    run.limit = limit;
    while (!tc->Eof() && textOf(tc, QStringLiteral("kundennr")) == customer) {
        collectProposalRow(fields, run);
        tc->Next();
    }
    tc->FindKey({customer});
    return run;
}

// The parameters of a level are its row in level order. Parameters with
// fewer rows have none for a higher level: the letter then gets neither
// text nor fee, rather than those of the last level there is.
LookedUp levelParameters(ReportFields &fields, int level)
{
    bool found = false;
    if (hasRecord(tcMahnPara)) {
        tcMahnPara->First();
        found = tcMahnPara->MoveBy(level - 1) == level - 1;
    }
    if (!found)
        fields.data().reportOnce(QStringLiteral("DefineFields()"),
                                 QStringLiteral("Mahnstufe %1 in MahnPara.db nicht gefunden").arg(level));
    return {tcMahnPara, found};
}

// The fee of the reached level goes into the last open item handled, on
// which the open items still stand; without one there is nowhere to put it.
void recordFee(ReportFields &fields, const DunningRun &run, const LookedUp &parameters)
{
    if (!run.anyItem || !parameters.found() || fields.job().designer)
        return;
    tcOffPos->Edit();
    for (const QString &field : {QStringLiteral("mahngebuehr"), QStringLiteral("mahngebuehrWae")})
        tcOffPos->FieldByName(field)->SetValue(parameters.number(field));
    tcOffPos->Post();
}

QString dunningText(const LookedUp &parameters, const LookedUp &customer)
{
    if (!parameters.found())
        return QString();
    const int days = int(parameters.number(QStringLiteral("zahlfrist")));
    QString text = parameters.text(QStringLiteral("mahntext"));
    text = replaceFirst(text, QStringLiteral("#Zahlfristtage"), IntToStr(days));
    text = replaceFirst(text, QStringLiteral("#Zahlfristdatum"), DateToStr(Date() + days));
    return replaceFirst(text, QStringLiteral("#Briefanrede"), salutationOf(customer));
}

int startDunningLetter(ReportFields &fields, int job, TTable *&slot)
{
    const int limit = fields.data().GetRecords(slot, QString());
    if (limit == NothingToPrint)
        return limit;
    DocumentTransaction dunning(tc->DatabaseName());
    const LookedUp customer =
        defineLookup(fields, job, tcKunden, textOf(tc, QStringLiteral("kundennr")), true, QStringLiteral("Kunde_"));
    defineCountryName(fields, job, customer.text(QStringLiteral("Land")));
    DunningRun run = collectDunningRun(fields, limit);
    const LookedUp parameters = levelParameters(fields, run.level);
    recordFee(fields, run, parameters);
    fields.TCDefineFields(job, tcMahnPara, true, !parameters.found(), QString());
    LlDefineVariableExt(job, QStringLiteral("Mahntext"), dunningText(parameters, customer), report::LL_TEXT, QString());
    if (parameters.found())
        fields.DefineEuroVariable(job, QStringLiteral("Mahngebühr"), parameters.number(QStringLiteral("mahngebuehr")),
                                  parameters.number(QStringLiteral("mahngebuehrWae")));
    else
        fields.DefineEmptyEuroAmount(job, QStringLiteral("Mahngebühr"), report::LL_NUMERIC, true);
    fields.DefineEuroVariable(job, QStringLiteral("Summe_OffenerBetrag"), run.open.euro, run.open.currency);
    fields.DefineEuroVariable(job, QStringLiteral("Summe_Verzugszinsen"), run.interest.euro, run.interest.currency);
    fields.DefineCommVars(job, Date());
    dunning.commit();
    return run.limit;
}

int dunningLetter(ReportFields &fields, int job, TTable *&slot, bool asVariables)
{
    int limit = 0;
    if (!slot) {
        limit = startDunningLetter(fields, job, slot);
        if (limit == NothingToPrint)
            return limit;
    }
    const QString document = textOf(tc, QStringLiteral("auftragnr"));
    const bool found = hasRecord(tcOffPos) && tcOffPos->FindKey({document});
    if (!found)
        fields.data().reportOnce(QStringLiteral("DefineFields()"),
                                 document + QStringLiteral(" in Offpos.db nicht gefunden"));
    fields.TCDefineFields(job, tcOffPos, asVariables, !found, QString());
    return limit;
}

}

QList<ModuleBranch> openItemBranches()
{
    return {{QStringLiteral("Mahnung"), false, dunningLetter},
            {QStringLiteral("Offene Posten"), false, salesOpenItems},
            {QStringLiteral("Zahlungseingang"), false, incomingPayments},
            {QStringLiteral("Zahlungsausgang"), false, outgoingPayments},
            {QStringLiteral("OpoBList"), false, purchaseOpenItems}};
}

}
