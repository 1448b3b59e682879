#include "lib/edit/qkCellText.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// The thin window border cells are measured with.
constexpr int borderHeight = 1;

bool secondLineFits(const QFontMetrics &metrics, int cellHeight)
{
    return metrics.height() + 3 + 2 * borderHeight < cellHeight;
}

}

QRect qkCellTextArea(const QRect &cell, int left, int top, Qt::Alignment alignment)
{
    int right = cell.width();
    if (alignment & Qt::AlignRight)
        right = cell.width() - 2;
    else if (alignment & Qt::AlignHCenter)
        left = left > 3 ? 2 : 0;
    return QRect(QPoint(left, top), QPoint(right - 1, cell.height() - 2));
}

Qt::Alignment qkAlignmentOf(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

void WriteCellText(QPainter &painter, const QRect &cell, int left, int flags, Qt::Alignment alignment,
                   const QString &text, int top)
{
    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    if (!(flags & ctKeepPixels) && painter.brush().style() != Qt::NoBrush)
        painter.fillRect(cell, painter.brush());
    const QFontMetrics metrics(painter.font());
    const bool ellipsis = flags & ctEndEllipsis;
    const bool wordBreak = (flags & ctWordBreak) && !ellipsis && secondLineFits(metrics, cell.height());
    const QRect area = qkCellTextArea(cell, left, top, alignment).translated(cell.topLeft());
    const int drawFlags = int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextExpandTabs
                          | (wordBreak ? Qt::TextWordWrap : 0) | ((flags & ctAccelerator) ? Qt::TextShowMnemonic : 0);
    const QString shown =
        ellipsis && !text.contains(QLatin1Char('\n')) ? metrics.elidedText(text, Qt::ElideRight, area.width()) : text;
    painter.drawText(area, drawFlags, shown);
    painter.restore();
}
