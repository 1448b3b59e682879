#include "platform/report/LayoutBuilder.h"

namespace report {

Layout labelLayout(const SheetDef &sheet)
{
    Layout layout;
    layout.type = Layout::Type::Label;
    layout.marginLeft = layout.marginTop = layout.marginRight = layout.marginBottom = 0;
    layout.sheet = sheet;
    return layout;
}

FontSpec font(double size, bool bold, bool italic)
{
    FontSpec f;
    f.size = size;
    f.bold = bold;
    f.italic = italic;
    return f;
}

LayoutObject textObject(const QString &name, const QRectF &rect, const QStringList &lines, const FontSpec &font,
                        Qt::Alignment align, Appearance appearance)
{
    LayoutObject o;
    o.kind = ObjectKind::Text;
    o.name = name;
    o.rect = rect;
    o.font = font;
    o.align = align;
    o.appearance = appearance;
    for (const QString &line : lines)
        o.lines.append(Expression(line));
    return o;
}

LayoutObject lineObject(const QString &name, QPointF from, QPointF to, double pen, Appearance appearance)
{
    LayoutObject o;
    o.kind = ObjectKind::Line;
    o.name = name;
    o.rect = QRectF(from, to);
    o.pen = pen;
    o.appearance = appearance;
    return o;
}

LayoutObject rectangleObject(const QString &name, const QRectF &rect, double pen, const QColor &fill,
                             Appearance appearance)
{
    LayoutObject o;
    o.kind = ObjectKind::Rectangle;
    o.name = name;
    o.rect = rect;
    o.pen = pen;
    o.fill = fill;
    o.appearance = appearance;
    return o;
}

LayoutObject pictureObject(const QString &name, const QRectF &rect, const QString &file, const QString &variable)
{
    LayoutObject o;
    o.kind = ObjectKind::Picture;
    o.name = name;
    o.rect = rect;
    o.file = file;
    o.variable = variable;
    return o;
}

LayoutObject barcodeObject(const QString &name, const QRectF &rect, const QString &expression, int symbology,
                           Appearance appearance)
{
    LayoutObject o;
    o.kind = ObjectKind::Barcode;
    o.name = name;
    o.rect = rect;
    o.expression = Expression(expression);
    o.symbology = symbology;
    o.appearance = appearance;
    return o;
}

TableColumn column(double width, const QString &expression, Qt::Alignment align, const FontSpec &font, bool wrap)
{
    return TableColumn{width, align, font, wrap, Expression(expression)};
}

TableRow tableRow(RowPart part, double height, const QList<TableColumn> &columns, const QString &condition)
{
    TableRow row;
    row.part = part;
    row.height = height;
    row.columns = columns;
    row.condition = Expression(condition);
    return row;
}

}
