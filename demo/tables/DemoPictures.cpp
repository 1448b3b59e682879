#include "demo/tables/DemoPictures.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPolygon>

namespace demo {
namespace {

const QColor palette[] = {QColor(0x2e, 0x6f, 0x9e), QColor(0xc0, 0x39, 0x2b), QColor(0x27, 0xae, 0x60),
                          QColor(0xe6, 0x7e, 0x22), QColor(0x8e, 0x44, 0xad), QColor(0x16, 0xa0, 0x85),
                          QColor(0x7f, 0x8c, 0x8d)};
constexpr int paletteSize = int(sizeof(palette) / sizeof(palette[0]));

void drawShape(QPainter &painter, int variant, const QRect &area)
{
    switch (variant % 3) {
    case 0:
        painter.drawEllipse(area);
        break;
    case 1:
        painter.drawRect(area);
        break;
    default:
        painter.drawPolygon(QPolygon({QPoint(area.center().x(), area.top()), area.bottomRight(), area.bottomLeft()}));
        break;
    }
}

}

QByteArray demoPicture(int variant)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(0xf4, 0xf1, 0xea));
    {
        // No antialiasing and no text: the bytes must not depend on fonts or
        // rendering hints of the machine that builds the demo.
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette[variant % paletteSize]);
        drawShape(painter, variant, QRect(12, 6, 40, 36));
        painter.setBrush(palette[(variant + 3) % paletteSize]);
        painter.drawRect(QRect(0, 44, 64, 4));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}
