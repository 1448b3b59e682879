#include "lib/rich/qkRichColors.h"

#include "lib/data/Qkintl.h"

#include <QPainter>

QList<TqkNamedColor> qkRichColors()
{
    const TqkRichEditMenuLabels &m = *qkIntl().RichEdit->MenuLabels;
    return {{m.BlackCaption, 0},       {m.MaroonCaption, 128},       {m.GreenCaption, 32768},
            {m.OliveCaption, 32896},   {m.NavyCaption, 8388608},     {m.PurpleCaption, 8388736},
            {m.TealCaption, 8421376},  {m.GrayCaption, 8421504},     {m.SilverCaption, 12632256},
            {m.RedCaption, 255},       {m.LimeCaption, 65280},       {m.YellowCaption, 65535},
            {m.BlueCaption, 16711680}, {m.FuchsiaCaption, 16711935}, {m.AquaCaption, 16776960},
            {m.WhiteCaption, 16777215}};
}

QColor qkStoredColor(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int qkColorValue(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QIcon qkColorSwatch(const QColor &color, QSize size)
{
    QPixmap picture(size);
    picture.fill(color);
    QPainter painter(&picture);
    painter.setPen(Qt::gray);
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return QIcon(picture);
}
