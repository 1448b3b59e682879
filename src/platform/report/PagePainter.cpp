#include "platform/report/PagePainter.h"

#include "platform/report/TextMetrics.h"

#include <optional>

namespace report {
namespace {

struct Scale
{
    double px;
    QRectF rect(const QRectF &mm) const { return {mm.x() * px, mm.y() * px, mm.width() * px, mm.height() * px}; }
    double len(double mm) const { return mm * px; }
};

QPen penOf(const Scale &s, double widthMm, const QColor &colour = Qt::black)
{
    QPen pen(colour);
    pen.setWidthF(qMax(1.0, s.len(widthMm)));
    return pen;
}

// Consecutive texts mostly share a font; drawing them with one QFont keeps
// its resolved glyph engine instead of looking it up for every text.
class TextFont
{
public:
    const QFont &of(const FontSpec &spec, double factor)
    {
        if (!m_font || !(spec == m_spec)) {
            m_spec = spec;
            m_font = spec.toQFont();
            m_font->setPointSizeF(spec.size / factor);
        }
        return *m_font;
    }

private:
    FontSpec m_spec;
    std::optional<QFont> m_font;
};

// Laid out at the resolution text is measured at and scaled to the device:
// at a screen's coarse pixels the glyphs would be hinted wider than
// measured, and the box that holds a line on paper would cut it.
void paintText(QPainter &p, const Scale &s, const DrawOp &op, TextFont &fonts)
{
    const Scale layout{kTextLayoutDpi / 25.4};
    const double factor = s.px / layout.px;
    p.save();
    p.scale(factor, factor);
    p.setFont(fonts.of(op.font, factor));
    p.setPen(Qt::black);
    p.drawText(layout.rect(op.rect), textFlags(op.align), op.text);
    p.restore();
}

void paintRectangle(QPainter &p, const Scale &s, const DrawOp &op)
{
    p.setBrush(op.fill.isValid() ? QBrush(op.fill) : QBrush(Qt::NoBrush));
    p.setPen(op.pen > 0 ? penOf(s, op.pen) : QPen(Qt::NoPen));
    p.drawRect(s.rect(op.rect));
}

void paintImage(QPainter &p, const Scale &s, const DrawOp &op)
{
    if (op.image.isNull())
        return;
    const QRectF box = s.rect(op.rect);
    QSizeF fitted = op.image.size();
    fitted.scale(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.x() + (box.width() - fitted.width()) / 2, box.y() + (box.height() - fitted.height()) / 2,
                        fitted.width(), fitted.height());
    p.drawImage(target, op.image);
}

// A barcode that cannot be encoded is crossed out with its reason, so the
// wrong value is noticed on the page instead of failing the whole job.
void paintBarcodeError(QPainter &p, const Scale &s, const DrawOp &op)
{
    const QRectF box = s.rect(op.rect);
    p.setBrush(Qt::NoBrush);
    p.setPen(penOf(s, 0.3, Qt::red));
    p.drawRect(box);
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.bottomLeft(), box.topRight());
    FontSpec font;
    font.size = 6;
    p.setFont(font.toQFont());
    p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("Barcodefehler: ") + op.barcode.error);
}

void paintBarcode(QPainter &p, const Scale &s, const DrawOp &op)
{
    if (!op.barcode.valid) {
        paintBarcodeError(p, s, op);
        return;
    }
    const QRectF box = s.rect(op.rect);
    const QSizeF extent = op.barcode.extent;
    const double sx = box.width() / extent.width();
    const double sy = box.height() / extent.height();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const QRectF &bar : op.barcode.bars)
        p.drawRect(QRectF(box.x() + bar.x() * sx, box.y() + bar.y() * sy, bar.width() * sx, bar.height() * sy));
    QFont font(QStringLiteral("DejaVu Sans"));
    p.setPen(Qt::black);
    for (const BarcodeShape::Caption &c : op.barcode.captions) {
        font.setPixelSize(qMax(1, int(c.size * sy * 0.8)));
        p.setFont(font);
        const QPointF base(box.x() + c.position.x() * sx, box.y() + c.position.y() * sy);
        const double width = p.fontMetrics().horizontalAdvance(c.text);
        p.drawText(QPointF(base.x() - width / 2, base.y()), c.text);
    }
}

}

void paintPage(QPainter &painter, const Page &page)
{
    const Scale s{painter.device()->logicalDpiX() / 25.4};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    TextFont fonts;
    for (const DrawOp &op : page.ops) {
        switch (op.kind) {
        case DrawOp::Kind::Text:
            paintText(painter, s, op, fonts);
            break;
        case DrawOp::Kind::Line:
            painter.setPen(penOf(s, op.pen));
            painter.drawLine(s.rect(op.rect).topLeft(), s.rect(op.rect).bottomRight());
            break;
        case DrawOp::Kind::Rectangle:
            paintRectangle(painter, s, op);
            break;
        case DrawOp::Kind::Image:
            paintImage(painter, s, op);
            break;
        case DrawOp::Kind::Barcode:
            paintBarcode(painter, s, op);
            break;
        }
    }
    painter.restore();
}

}
