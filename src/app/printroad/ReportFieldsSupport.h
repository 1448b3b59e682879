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
QString salutationOf(TTable *partner, bool found);

// A number as a variable or as a field.
void defineNumber(int job, const QString &name, double value, int type, bool asVariable);
void defineText(int job, const QString &name, const QString &value, bool asVariable);

// A running sum offered as a euro field and as a euro variable, so the
// layout may print it in a footer line or anywhere on the page.
void defineEuroSum(ReportFields &fields, int job, const QString &name, const AmountPair &sum);

// Looks `key` up in `table` and defines its fields with `prefix`; when
// `blank` is set the fields are defined empty without a look-up.
bool defineLookup(ReportFields &fields, int job, TTable *table, const QString &key, bool asVariables,
                  const QString &prefix, bool blank = false);

// The country name of a country code, empty when it is not known.
void defineCountryName(ReportFields &fields, int job, const QString &countryCode);

// The barcodes of a partner's number ("KdNr") and postcode ("PLZ").
void definePartnerBarcodes(ReportFields &fields, int job, TTable *partner, bool found);

}
