#pragma once

#include "platform/report/Layout.h"

#include <QDataStream>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace report {

// A barcode encoded by the barcode library, in its own module units.
struct BarcodeShape
{
    bool valid = false;
    QString error;
    QSizeF extent;
    QList<QRectF> bars;
    struct Caption
    {
        QPointF position; // baseline centre
        double size = 0;
        QString text;
    };
    QList<Caption> captions;
};

// One thing drawn on a page, in millimetres. Pages are kept as these
// operations so that tests can read them exactly and the preview can paint
// them again at any zoom, on a printer or into a PDF file.
struct DrawOp
{
    enum class Kind : quint8 { Text, Line, Rectangle, Image, Barcode };

    Kind kind = Kind::Text;
    QString object; // name of the layout object or "Tabelle"
    QRectF rect;
    QString text; // text, or the barcode's data
    FontSpec font;
    Qt::Alignment align = Qt::AlignLeft;
    double pen = 0;
    QColor fill;
    QImage image;
    int symbology = 0;
    BarcodeShape barcode;
};

struct Page
{
    QSizeF size;
    QList<DrawOp> ops;

    QStringList texts() const;
    const DrawOp *findText(const QString &fragment) const;
};

QDataStream &operator<<(QDataStream &out, const Page &page);
QDataStream &operator>>(QDataStream &in, Page &page);

}
