#pragma once

#include "platform/db/DbTypes.h"

#include <QRect>
#include <QString>
#include <Qt>

class QPainter;

// How WriteCellText treats the text.
enum TqkCellTextFlag : int {
    ctAccelerator = 1, // "&" marks the mnemonic instead of showing
    ctEndEllipsis = 2,
    ctWordBreak = 4,
    ctKeepPixels = 8 // draw over the cell as it stands instead of filling it with the brush
};

// Writes text into a cell as the grid and the edit controls painted inside
// it do: left and top are offsets into the cell, the painter's font, pen and
// brush are the cell's. Word break is dropped where no second line fits.
void WriteCellText(QPainter &painter, const QRect &cell, int left, int flags, Qt::Alignment alignment,
                   const QString &text, int top);

// Where WriteCellText sets the text, in cell coordinates.
QRect qkCellTextArea(const QRect &cell, int left, int top, Qt::Alignment alignment);

Qt::Alignment qkAlignmentOf(TAlignment alignment);
