#include "platform/report/TextMetrics.h"

#include <QFontMetricsF>
#include <QImage>

namespace report {
namespace {

constexpr double kPxPerMm = kTextLayoutDpi / 25.4;

const QImage &measureDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        image.setDotsPerMeterX(int(kTextLayoutDpi / 0.0254));
        image.setDotsPerMeterY(int(kTextLayoutDpi / 0.0254));
        return image;
    }();
    return device;
}

}

int textFlags(Qt::Alignment align, bool wrap)
{
    return int(align | Qt::AlignTop) | (wrap ? int(Qt::TextWordWrap) : 0);
}

double textWidthMm(const QString &text, const FontSpec &font)
{
    return QFontMetricsF(font.toQFont(), &measureDevice()).horizontalAdvance(text) / kPxPerMm;
}

double textHeightMm(const QString &text, const FontSpec &font, double widthMm, bool wrap)
{
    const QFontMetricsF metrics(font.toQFont(), &measureDevice());
    if (!wrap && !text.contains(QLatin1Char('\n')))
        return metrics.height() / kPxPerMm;
    const QRectF box(0, 0, widthMm * kPxPerMm, 1e7);
    return metrics.boundingRect(box, textFlags(Qt::AlignLeft, wrap), text).height() / kPxPerMm;
}

}
