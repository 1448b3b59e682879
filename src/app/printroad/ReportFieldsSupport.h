#pragma once

#include "platform/runtime/DateTime.h"

#include <QString>
#include <QVariantList>

class TTable;

namespace printroad {

class ReportFields;

// Small pieces the module field definitions share.

// True when the table is open and holds at least one record.
bool hasRecord(TTable *table);
// A field of the table's current record as text or number; empty or 0 when
// the table has no record.
QString textOf(TTable *table, const QString &field);
double numberOf(TTable *table, const QString &field);
TDateTime dateOf(TTable *table, const QString &field);
// A date as the layouts print it; empty for a date field without a value
// (which reads as 0), never the calendar's day zero.
QString dateText(TDateTime date);
QString dateTextOf(TTable *table, const QString &field);

// The record a look-up found for the current line. A look-up that fails
// leaves the table's cursor where it stood; read through here, its fields
// are empty then instead of the record the table stood on before.
class LookedUp
{
public:
    LookedUp(TTable *table, bool found) : m_table(table), m_found(found) {}

    bool found() const { return m_found; }
    TTable *table() const { return m_table; }
    QString text(const QString &field) const { return m_found ? textOf(m_table, field) : QString(); }
    double number(const QString &field) const { return m_found ? numberOf(m_table, field) : 0.0; }

private:
    TTable *m_table;
    bool m_found;
};

// An amount in euro and in the document's currency.
struct AmountPair
{
    double euro = 0;
    double currency = 0;

    // Adds `other` and keeps both sums in cents.
    void addRounded(const AmountPair &other);
    AmountPair operator-(const AmountPair &other) const { return {euro - other.euro, currency - other.currency}; }
};

// A currency field X of the current record with its twin X + "Wae".
AmountPair amountOf(TTable *table, const QString &field);

// Replaces the first `placeholder` in `text` by `value`.
QString replaceFirst(QString text, const QString &placeholder, const QString &value);

// Money sums are kept in cents.
double roundCents(double value);

// The letter salutation of a partner, or the company's general one when
// the partner was not found.
QString salutationOf(const LookedUp &partner);

// A number as a variable or as a field.
void defineNumber(int job, const QString &name, double value, int type, bool asVariable);

// A running sum offered as a euro field and as a euro variable, so the
// layout may print it in a footer line or anywhere on the page.
void defineEuroSum(ReportFields &fields, int job, const QString &name, const AmountPair &sum);

// Looks `key` up in `table` and defines its fields with `prefix`; when
// `blank` is set the fields are defined empty without a look-up.
LookedUp defineLookup(ReportFields &fields, int job, TTable *table, const QString &key, bool asVariables,
                      const QString &prefix, bool blank = false);

// The country name of a country code, empty when it is not known.
void defineCountryName(ReportFields &fields, int job, const QString &countryCode);

// The barcodes of a partner's number ("KdNr") and postcode ("PLZ").
void definePartnerBarcodes(ReportFields &fields, int job, const LookedUp &partner);
}
