#include "app/printroad/ReportFieldsSupport.h"

#include "app/Utils.h"
#include "app/printroad/ReportData.h"
#include "app/printroad/ReportFields.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/Conversions.h"

namespace printroad {

bool hasRecord(TTable *table)
{
    return table && table->Active() && !IsTableEmpty(table);
}

QString textOf(TTable *table, const QString &field)
{
    return hasRecord(table) ? table->FieldByName(field)->AsString() : QString();
}

double numberOf(TTable *table, const QString &field)
{
    return hasRecord(table) ? table->FieldByName(field)->AsFloat() : 0.0;
}

TDateTime dateOf(TTable *table, const QString &field)
{
    if (!hasRecord(table) || table->FieldByName(field)->IsNull())
        return 0;
    return table->FieldByName(field)->AsDateTime();
}

QString dateText(TDateTime date)
{
    return date == 0 ? QString() : DateToStr(date);
}

QString dateTextOf(TTable *table, const QString &field)
{
    return dateText(dateOf(table, field));
}

void AmountPair::addRounded(const AmountPair &other)
{
    euro = roundCents(euro + other.euro);
    currency = roundCents(currency + other.currency);
}

AmountPair amountOf(TTable *table, const QString &field)
{
    return {numberOf(table, field), numberOf(table, field + QStringLiteral("Wae"))};
}

QString replaceFirst(QString text, const QString &placeholder, const QString &value)
{
    const qsizetype at = text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
    return text;
}

double roundCents(double value)
{
    return RoundTo(value, 2);
}

QString salutationOf(const LookedUp &partner)
{
    return partner.found() ? partner.text(QStringLiteral("briefanrede")) : textOf(tcSetup, QStringLiteral("anrede3"));
}

void defineNumber(int job, const QString &name, double value, int type, bool asVariable)
{
    const QString text = ReportFields::numberText(value);
    if (asVariable)
        LlDefineVariableExt(job, name, text, type, QString());
    else
        LlDefineFieldExt(job, name, text, type, QString());
}

void defineEuroSum(ReportFields &fields, int job, const QString &name, const AmountPair &sum)
{
    fields.DefineEuroField(job, name, report::LL_NUMERIC | report::LL_TABLE_FOOTERFIELD, sum.euro, sum.currency);
    fields.DefineEuroVariable(job, name, sum.euro, sum.currency);
}

LookedUp defineLookup(ReportFields &fields, int job, TTable *table, const QString &key, bool asVariables,
                      const QString &prefix, bool blank)
{
    if (blank) {
        fields.TCDefineFields(job, table, asVariables, true, prefix);
        return {table, false};
    }
    return {table, fields.DefineLookup(job, table, {key}, asVariables, prefix)};
}

void defineCountryName(ReportFields &fields, int job, const QString &countryCode)
{
    const QString &name = remembered(fields.job().countryNames, countryCode, [&] {
        const bool found = hasRecord(tcLaender) && tcLaender->FindKey({countryCode});
        return found ? textOf(tcLaender, QStringLiteral("Land")) : QString();
    });
    LlDefineVariableExt(job, QStringLiteral("Land-Name"), name, report::LL_TEXT, QString());
}

void definePartnerBarcodes(ReportFields &fields, int job, const LookedUp &partner)
{
    fields.DefineBarcodes(job, partner.text(QStringLiteral("nr")), QStringLiteral("KdNr"));
    fields.DefineBarcodes(job, partner.text(QStringLiteral("plz")), QStringLiteral("PLZ"));
}

}
