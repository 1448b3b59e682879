#include "demo/layouts/ListPage.h"

#include "platform/report/LayoutBuilder.h"

namespace demo {

using namespace report;

namespace {

constexpr double kLeft = 15;
constexpr double kTableTop = 40;

double usableWidth(const ListPage &page)
{
    return (page.landscape ? 297 : 210) - 2 * kLeft;
}

void addPageHead(Layout &layout, const ListPage &page)
{
    const double width = usableWidth(page);
    layout.objects.append(textObject("Firma", {kLeft, 10, width, 5}, {"Firmenabsender"}, font(7.5), Qt::AlignLeft));
    layout.objects.append(
        textObject("Seitenzahl", {kLeft, 10, width, 5}, {"\"Seite \" + Seite"}, font(7.5), Qt::AlignRight));
    layout.objects.append(textObject("Titel", {kLeft, 17, width, 8}, {'"' + page.title + '"'}, font(14, true)));
    if (!page.subtitle.isEmpty())
        layout.objects.append(textObject("Untertitel", {kLeft, 26, width, 12}, page.subtitle, font(9)));
    layout.objects.append(lineObject("Kopflinie", {kLeft, 38}, {kLeft + width, 38}, 0.4));
}

TableRow headerRow(const ListPage &page)
{
    QList<TableColumn> columns;
    for (const ListColumn &c : page.columns)
        columns << column(c.width, '"' + c.title + '"', c.align, font(8, true));
    return headingRow(6, columns);
}

TableRow dataRow(const ListPage &page)
{
    QList<TableColumn> columns;
    for (const ListColumn &c : page.columns)
        columns << column(c.width, c.expression, c.align, font(8.5), true);
    TableRow row = tableRow(RowPart::Data, 5, columns, page.lineCondition);
    row.lineBelow = 0.1;
    return row;
}

bool hasTotals(const ListPage &page)
{
    for (const ListColumn &c : page.columns) {
        if (!c.total.isEmpty())
            return true;
    }
    return false;
}

// The label spans the columns in front of the first total, so it is never
// cut to the width of the first column.
TableRow totalsRow(const ListPage &page)
{
    QList<TableColumn> columns;
    qsizetype first = 0;
    double labelWidth = 0;
    while (first < page.columns.size() && page.columns.at(first).total.isEmpty())
        labelWidth += page.columns.at(first++).width;
    if (labelWidth > 0)
        columns << column(labelWidth, '"' + page.totalLabel + '"', Qt::AlignLeft, font(8.5, true));
    bool labelled = labelWidth > 0;
    for (const ListColumn &c : page.columns.mid(first)) {
        QString expression = c.total;
        if (expression.isEmpty() && !labelled) {
            expression = '"' + page.totalLabel + '"';
            labelled = true;
        }
        columns << column(c.width, expression.isEmpty() ? QStringLiteral("\"\"") : expression, c.align,
                          font(8.5, true));
    }
    TableRow row = tableRow(RowPart::EndFooter, 6.5, columns);
    row.lineAbove = 0.5;
    row.fill = kHeaderFill;
    return row;
}

}

Layout listLayout(const ListPage &page)
{
    Layout layout;
    if (page.landscape)
        layout.pageSize = QSizeF(297, 210);
    layout.marginLeft = kLeft;
    layout.marginRight = kLeft;
    layout.marginTop = 10;
    layout.marginBottom = 12;
    addPageHead(layout, page);
    TableDef table;
    table.rect = QRectF(kLeft, kTableTop, usableWidth(page), layout.pageSize.height() - kTableTop - 15);
    table.rows = {headerRow(page), dataRow(page)};
    if (hasTotals(page))
        table.rows << totalsRow(page);
    layout.table = table;
    return layout;
}

}
