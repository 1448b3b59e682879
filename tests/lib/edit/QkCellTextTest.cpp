#include "lib/edit/qkCellText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QString sentence = QStringLiteral("Lieferung bitte nur werktags bis fünfzehn Uhr");

// Writes text into a cell of an image that stands red before, with a white
// brush and black ink.
QImage written(const QSize &cell, int flags, Qt::Alignment alignment, const QString &text, int left = 3)
{
    QImage image(cell, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    WriteCellText(painter, QRect(QPoint(0, 0), cell), left, flags, alignment, text, 2);
    return image;
}

// The extent of the dark pixels: left, top, right, bottom; empty without ink.
QRect inkOf(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 90 && image.pixelColor(x, y) != Qt::red)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

int lineHeight()
{
    return QFontMetrics(QFont()).height();
}

struct BreakCase
{
    int lines;
    int extra;
    int flags;
    bool secondLine;
};

}

TEST(WriteCellText, WordBreakOnlyWhereASecondLineFitsAndNoEllipsisIsAsked)
{
    const BreakCase cases[] = {
        {3, 0, ctWordBreak, true},  {1, 6, ctWordBreak, true},
        {1, 4, ctWordBreak, false}, {3, 0, ctWordBreak | ctEndEllipsis, false},
        {3, 0, 0, false},
    };
    for (const BreakCase &c : cases) {
        const QImage image = written(QSize(120, c.lines * lineHeight() + c.extra), c.flags, Qt::AlignLeft, sentence);
        EXPECT_EQ(inkOf(image).bottom() > lineHeight() + 2, c.secondLine)
            << c.lines << "+" << c.extra << " " << c.flags;
    }
}

TEST(WriteCellText, AlignmentPlacesTheTextInsideTheCellsMargins)
{
    const QSize cell(200, lineHeight() + 6);
    const QRect left = inkOf(written(cell, 0, Qt::AlignLeft, "Hamburg", 5));
    const QRect right = inkOf(written(cell, 0, Qt::AlignRight, "Hamburg", 5));
    const QRect centre = inkOf(written(cell, 0, Qt::AlignHCenter, "Hamburg", 5));
    EXPECT_GE(left.left(), 5);
    EXPECT_LE(left.left(), 7);
    EXPECT_LE(right.right(), cell.width() - 3);
    EXPECT_GE(right.right(), cell.width() - 6);
    EXPECT_LE(qAbs(centre.left() - (cell.width() - 1 - centre.right())), 4);
    EXPECT_EQ(left.width(), right.width());
}

TEST(WriteCellText, TheBrushFillsTheCellUnlessItsPixelsAreKept)
{
    const QSize cell(80, lineHeight() + 6);
    EXPECT_EQ(written(cell, 0, Qt::AlignLeft, "x").pixelColor(78, 1), QColor(Qt::white));
    EXPECT_EQ(written(cell, ctKeepPixels, Qt::AlignLeft, "x").pixelColor(78, 1), QColor(Qt::red));
}

TEST(WriteCellText, AnAmpersandShowsUnlessItMarksTheMnemonic)
{
    const QSize cell(200, lineHeight() + 6);
    const int shown = inkOf(written(cell, 0, Qt::AlignLeft, "&Name")).width();
    const int mnemonic = inkOf(written(cell, ctAccelerator, Qt::AlignLeft, "&Name")).width();
    EXPECT_GT(shown, mnemonic + 3);
}
