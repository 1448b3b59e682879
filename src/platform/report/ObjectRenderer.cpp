#include "platform/report/ObjectRenderer.h"

#include "platform/report/Barcode.h"
#include "platform/report/LayoutNames.h"
#include "platform/report/TextMetrics.h"

#include <QDir>

#include <utility>

namespace report {
namespace {

constexpr double kCellPaddingX = 1.0;
constexpr double kCellPaddingY = 0.6;
const QString kTableObject = QStringLiteral("Tabelle");

DrawOp shapeOp(DrawOp::Kind kind, const QString &object, const QRectF &rect, double pen, const QColor &fill = {})
{
    DrawOp op;
    op.kind = kind;
    op.object = object;
    op.rect = rect;
    op.pen = pen;
    op.fill = fill;
    return op;
}

DrawOp textOp(const QString &object, const QRectF &rect, const FittedText &fitted, Qt::Alignment align)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.object = object;
    op.rect = rect;
    op.text = fitted.text();
    op.font = fitted.font;
    op.align = align;
    return op;
}

double cellWidth(const TableColumn &column)
{
    return column.width - 2 * kCellPaddingX;
}

double tableWidth(const TableDef &table, const TableRow &row)
{
    if (table.rect.width() > 0)
        return table.rect.width();
    double width = 0;
    for (const TableColumn &c : row.columns)
        width += c.width;
    return width;
}

}

void ObjectRenderer::render(const LayoutObject &object, QPointF offset, const NameScope &pageScope, Page &page)
{
    const CheckedScope scope(pageScope);
    const QRectF rect = object.rect.translated(offset);
    switch (object.kind) {
    case ObjectKind::Text:
        renderText(object, rect, scope, page);
        break;
    case ObjectKind::Line:
        page.ops.append(shapeOp(DrawOp::Kind::Line, object.name, rect, object.pen));
        break;
    case ObjectKind::Rectangle:
        page.ops.append(shapeOp(DrawOp::Kind::Rectangle, object.name, rect, object.pen, object.fill));
        break;
    case ObjectKind::Picture:
        renderPicture(object, rect, scope, page);
        break;
    case ObjectKind::Barcode:
        renderBarcode(object, rect, scope, page);
        break;
    }
    if (!scope.missing().isEmpty())
        keepUnknown(nameOf(object), scope.missing());
}

void ObjectRenderer::keepUnknown(const QString &element, const QStringList &names) const
{
    for (const UnknownNames &known : std::as_const(m_unknown)) {
        if (known.element == element)
            return;
    }
    m_unknown.append({element, names});
}

QList<UnknownNames> ObjectRenderer::takeUnknownNames()
{
    return std::exchange(m_unknown, {});
}

void ObjectRenderer::renderText(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page) const
{
    QStringList lines;
    for (const Expression &line : o.lines) {
        const QString text = line.evaluate(scope).toText();
        if (!text.isEmpty())
            lines.append(text);
    }
    if (!lines.isEmpty())
        page.ops.append(
            textOp(o.name, rect, fitText(lines.join(QLatin1Char('\n')), o.font, rect.width(), o.wrap), o.align));
}

void ObjectRenderer::renderPicture(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page)
{
    DrawOp op = shapeOp(DrawOp::Kind::Image, o.name, rect, 0);
    if (!o.variable.isEmpty()) {
        const Definition *d = scope.lookup(o.variable);
        if (d)
            op.image = d->image;
    }
    // The file stands in when the record brings no picture of its own.
    if (op.image.isNull() && !o.file.isEmpty()) {
        auto it = m_files.find(o.file);
        if (it == m_files.end())
            it = m_files.insert(o.file, QImage(QDir(m_folder).absoluteFilePath(o.file)));
        op.image = it.value();
    }
    if (!op.image.isNull())
        page.ops.append(op);
}

void ObjectRenderer::renderBarcode(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page) const
{
    const Value value = o.expression.evaluate(scope);
    const QString data = value.toText();
    if (data.trimmed().isEmpty())
        return;
    DrawOp op = shapeOp(DrawOp::Kind::Barcode, o.name, rect, 0);
    op.symbology = o.symbology != 0 ? o.symbology : value.barcodeType;
    op.text = data;
    op.barcode = encodeBarcode(op.symbology, data, o.showText);
    page.ops.append(op);
}

QList<const TableRow *> ObjectRenderer::activeRows(const TableDef &table, RowPart part,
                                                   const NameScope &fieldScope) const
{
    QList<const TableRow *> rows;
    for (const TableRow *row : table.rowsOf(part)) {
        const CheckedScope scope(fieldScope);
        if (row->condition.source().trimmed().isEmpty() || row->condition.evaluate(scope).toBool())
            rows.append(row);
        if (!scope.missing().isEmpty())
            keepUnknown(rowName(table, *row), scope.missing());
    }
    return rows;
}

QList<FittedRow> ObjectRenderer::fitRows(const TableDef &table, RowPart part, const NameScope &scope) const
{
    QList<FittedRow> fitted;
    for (const TableRow *row : activeRows(table, part, scope))
        fitted.append(fitRow(*row, scope));
    return fitted;
}

// A value set on one line keeps the row's height; one that had to break
// makes the row grow as wrapped text does.
FittedRow ObjectRenderer::fitRow(const TableRow &row, const NameScope &scope)
{
    const CheckedScope checked(scope);
    FittedRow fitted{&row, {}, row.height, {}};
    fitted.cells.reserve(row.columns.size());
    for (const TableColumn &c : row.columns) {
        fitted.cells.append(fitText(c.expression.evaluate(checked).toText(), c.font, cellWidth(c), c.wrap));
        const FittedText &cell = fitted.cells.constLast();
        if (c.wrap || cell.lines.size() > 1)
            fitted.height = qMax(fitted.height, cell.heightMm() + 2 * kCellPaddingY);
    }
    fitted.missing = checked.missing();
    return fitted;
}

double ObjectRenderer::rowsHeight(const QList<FittedRow> &rows)
{
    double height = 0;
    for (const FittedRow &row : rows)
        height += row.height;
    return height;
}

double ObjectRenderer::renderRows(const QList<FittedRow> &rows, const TableDef &table, double top, double bottom,
                                  Page &page) const
{
    for (const FittedRow &row : rows) {
        const double height = qMin(row.height, qMax(0.0, bottom - top));
        renderRow(*row.row, table.rect.x(), tableWidth(table, *row.row), top, height, row.cells, page);
        if (!row.missing.isEmpty())
            keepUnknown(rowName(table, *row.row), row.missing);
        top += height;
    }
    return top;
}

void ObjectRenderer::renderRow(const TableRow &row, double left, double width, double top, double height,
                               const QList<FittedText> &cells, Page &page) const
{
    if (row.fill.isValid())
        page.ops.append(shapeOp(DrawOp::Kind::Rectangle, kTableObject, QRectF(left, top, width, height), 0, row.fill));
    if (row.lineAbove > 0)
        page.ops.append(shapeOp(DrawOp::Kind::Line, kTableObject, QRectF(left, top, width, 0), row.lineAbove));
    double x = left;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const TableColumn &c = row.columns.at(i);
        if (!cells.at(i).text().isEmpty()) {
            const QRectF cell(x + kCellPaddingX, top + kCellPaddingY, cellWidth(c), height - kCellPaddingY);
            page.ops.append(textOp(kTableObject, cell, cells.at(i), c.align));
        }
        x += c.width;
    }
    if (row.lineBelow > 0)
        page.ops.append(shapeOp(DrawOp::Kind::Line, kTableObject, QRectF(left, top + height, width, 0), row.lineBelow));
}

}
