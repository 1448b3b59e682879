#include "demo/layouts/LayoutStyle.h"

#include "demo/tables/SettingsData.h"
#include "platform/report/LayoutBuilder.h"

namespace demo {

report::TableRow headingRow(double height, const QList<report::TableColumn> &columns)
{
    report::TableRow row = report::tableRow(report::RowPart::Header, height, columns);
    row.fill = kHeaderFill;
    row.lineBelow = 0.3;
    return row;
}

QString amountOf(const QString &expression)
{
    return QStringLiteral("Trim(FStr(%1, \"--,---,--&.##\"))").arg(expression);
}

QString amountWithCurrency(const QString &expression)
{
    return amountOf(expression) + QStringLiteral(" + \" \" + Währung");
}

QString dateOf(const QString &expression)
{
    return QStringLiteral("Date$(%1, \"dd.mm.yyyy\")").arg(expression);
}

QString invoiceDate()
{
    return dateOf(QStringLiteral("If(Empty(RGDatum), Datum, RGDatum)"));
}

// The company's own layouts carry its name as printed text, as a letterhead
// does; the sender line of the settings holds the address as well.
QString companyName()
{
    return '"' + companySetupRows().constFirst().value("Firma").toString() + '"';
}

}
