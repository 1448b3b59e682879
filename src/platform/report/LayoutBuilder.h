#pragma once

#include "platform/report/Layout.h"

#include <QStringList>

namespace report {

// Short ways to put layouts together in code (demo layouts and tests).

// A label layout without page margins for the given sheet.
Layout labelLayout(const SheetDef &sheet);

FontSpec font(double size, bool bold = false, bool italic = false);

LayoutObject textObject(const QString &name, const QRectF &rect, const QStringList &lines, const FontSpec &font = {},
                        Qt::Alignment align = Qt::AlignLeft, Appearance appearance = Appearance::AllPages);
LayoutObject lineObject(const QString &name, QPointF from, QPointF to, double pen = 0.3,
                        Appearance appearance = Appearance::AllPages);
LayoutObject rectangleObject(const QString &name, const QRectF &rect, double pen, const QColor &fill = {},
                             Appearance appearance = Appearance::AllPages);
LayoutObject pictureObject(const QString &name, const QRectF &rect, const QString &file, const QString &variable = {});
LayoutObject barcodeObject(const QString &name, const QRectF &rect, const QString &expression, int symbology = 0,
                           Appearance appearance = Appearance::AllPages);

TableColumn column(double width, const QString &expression, Qt::Alignment align = Qt::AlignLeft,
                   const FontSpec &font = {}, bool wrap = false);
TableRow tableRow(RowPart part, double height, const QList<TableColumn> &columns, const QString &condition = {});

}
