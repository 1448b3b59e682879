#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>

// A colour the editor window and the font dialog offer by name.
struct TqkNamedColor
{
    QString name;
    int value; // as stored: 0x00BBGGRR
};

// The sixteen named colours in their menu order, named by the captions object.
QList<TqkNamedColor> qkRichColors();

QColor qkStoredColor(int value);
int qkColorValue(const QColor &color);
// A framed patch of the colour.
QIcon qkColorSwatch(const QColor &color, QSize size);
