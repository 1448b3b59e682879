#include "platform/report/Barcode.h"

#include "platform/report/api/ReportCodes.h"

#include <zint.h>

#include <memory>

namespace report {
namespace {

struct ZintSymbol
{
    ZintSymbol() : symbol(ZBarcode_Create()) {}
    ~ZintSymbol() { ZBarcode_Delete(symbol); }
    ZintSymbol(const ZintSymbol &) = delete;
    ZintSymbol &operator=(const ZintSymbol &) = delete;
    zint_symbol *symbol;
};

int zintSymbology(int type, const QString &data)
{
    switch (type) {
    case LL_BARCODE_EAN13:
    case LL_BARCODE_EAN8:
        return BARCODE_EANX;
    case LL_BARCODE_UPCA:
        return BARCODE_UPCA;
    case LL_BARCODE_UPCE:
        return BARCODE_UPCE;
    case LL_BARCODE_3OF9:
        return BARCODE_CODE39;
    case LL_BARCODE_25INDUSTRIAL:
        return BARCODE_C25IND;
    case LL_BARCODE_25DATALOGIC:
        return BARCODE_C25LOGIC;
    case LL_BARCODE_25MATRIX:
        return BARCODE_C25STANDARD;
    case LL_BARCODE_POSTNET:
        return BARCODE_POSTNET;
    case LL_BARCODE_FIM:
        return BARCODE_FIM;
    case LL_BARCODE_CODABAR:
        return BARCODE_CODABAR;
    // EAN-128 needs application identifiers in brackets; plain data is
    // printed as Code 128 so that it still scans.
    case LL_BARCODE_EAN128:
        return data.startsWith(QLatin1Char('[')) ? BARCODE_GS1_128 : BARCODE_CODE128;
    case LL_BARCODE_CODE128:
        return BARCODE_CODE128;
    default:
        return 0;
    }
}

QString prepared(int type, QString data)
{
    data.remove(QLatin1Char('|'));
    const QString digits = data.trimmed();
    if (type == LL_BARCODE_EAN13 && digits.size() < 12)
        return digits.rightJustified(12, QLatin1Char('0'));
    if (type == LL_BARCODE_EAN8 && digits.size() < 7)
        return digits.rightJustified(7, QLatin1Char('0'));
    if (type == LL_BARCODE_EAN13 || type == LL_BARCODE_EAN8 || type == LL_BARCODE_UPCA || type == LL_BARCODE_UPCE)
        return digits;
    if (type == LL_BARCODE_CODABAR && !data.isEmpty() && !QStringLiteral("ABCD").contains(data.at(0).toUpper()))
        return QLatin1Char('A') + data + QLatin1Char('B');
    return data;
}

BarcodeShape invalid(const QString &reason)
{
    BarcodeShape shape;
    shape.error = reason;
    return shape;
}

BarcodeShape shapeOf(const zint_vector &v)
{
    BarcodeShape shape;
    shape.valid = true;
    shape.extent = QSizeF(v.width, v.height);
    for (const zint_vector_rect *r = v.rectangles; r; r = r->next)
        shape.bars.append(QRectF(r->x, r->y, r->width, r->height));
    for (const zint_vector_circle *c = v.circles; c; c = c->next)
        shape.bars.append(QRectF(c->x - c->diameter / 2, c->y - c->diameter / 2, c->diameter, c->diameter));
    for (const zint_vector_string *s = v.strings; s; s = s->next) {
        BarcodeShape::Caption caption;
        caption.position = QPointF(s->x, s->y);
        caption.size = s->fsize;
        caption.text = QString::fromUtf8(reinterpret_cast<const char *>(s->text), s->length);
        shape.captions.append(caption);
    }
    return shape;
}

}

BarcodeShape encodeBarcode(int symbology, const QString &data, bool withText)
{
    const int zint = zintSymbology(symbology, data);
    if (zint == 0)
        return invalid(QStringLiteral("Unbekannte Barcodeart"));
    const QString text = prepared(symbology, data);
    if (text.isEmpty())
        return invalid(QStringLiteral("Keine Barcodedaten"));
    ZintSymbol z;
    z.symbol->symbology = zint;
    z.symbol->show_hrt = withText ? 1 : 0;
    z.symbol->input_mode = zint == BARCODE_GS1_128 ? GS1_MODE : UNICODE_MODE;
    const QByteArray bytes = text.toUtf8();
    const int result =
        ZBarcode_Encode(z.symbol, reinterpret_cast<const unsigned char *>(bytes.constData()), int(bytes.size()));
    if (result >= ZINT_ERROR)
        return invalid(QString::fromUtf8(z.symbol->errtxt));
    if (ZBarcode_Buffer_Vector(z.symbol, 0) >= ZINT_ERROR || !z.symbol->vector)
        return invalid(QString::fromUtf8(z.symbol->errtxt));
    return shapeOf(*z.symbol->vector);
}

}
