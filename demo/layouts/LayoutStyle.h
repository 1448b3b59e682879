#pragma once

#include "platform/report/Layout.h"

#include <QColor>
#include <QList>
#include <QString>

namespace demo {

// The look every demo layout shares: shaded headings and totals, and the
// same way of printing amounts and dates.
inline const QColor kHeaderFill(0xe6, 0xea, 0xef);

// A table's heading line: shaded, ruled below.
report::TableRow headingRow(double height, const QList<report::TableColumn> &columns);

// Expression of an amount with two decimals and thousands points.
QString amountOf(const QString &expression);
// The same amount followed by the document's currency.
QString amountWithCurrency(const QString &expression);
// Expression of a date field as "dd.mm.yyyy".
QString dateOf(const QString &expression);
// Expression of an invoice's date: its invoice date, the order date while it
// has none, as its payment terms count.
QString invoiceDate();
// A text expression of the company's name, for signing letters.
QString companyName();

}
