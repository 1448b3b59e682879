#include "platform/report/TextMetrics.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QList>
#include <QTextLayout>

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

// Text is measured for every cell of every line, mostly in the same few
// fonts and often with the same values (units, rates, a town on every
// label); building the metrics or shaping a value again would cost more
// than drawing it.
struct FontMeasure
{
    QFontMetricsF metrics;
    QHash<QString, qreal> widths;
};

// Shrunk sizes and values vary without end; a full cache starts anew
// rather than grow with the document.
constexpr qsizetype kKnownFonts = 32;
constexpr qsizetype kKnownWidths = 512;

FontMeasure &measureOf(const FontSpec &font)
{
    static QHash<FontSpec, FontMeasure> known;
    auto it = known.find(font);
    if (it == known.end()) {
        if (known.size() >= kKnownFonts)
            known.clear();
        it = known.insert(font, {QFontMetricsF(font.toQFont(), &measureDevice()), {}});
    }
    return it.value();
}

double widestLineMm(const QStringList &lines, const FontSpec &font)
{
    double widest = 0;
    for (const QString &line : lines)
        widest = qMax(widest, textWidthMm(line, font));
    return widest;
}

// The lines of one paragraph at `widthMm`; a break at a blank drops the
// blank, every other character stays.
QStringList breakParagraph(const QString &paragraph, const FontSpec &font, double widthMm, QTextOption::WrapMode mode)
{
    QTextLayout layout(paragraph, font.toQFont(), &measureDevice());
    QTextOption option;
    option.setWrapMode(mode);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthMm * kPxPerMm);
        QString piece = paragraph.mid(line.textStart(), line.textLength());
        while (piece.endsWith(QLatin1Char(' ')) && piece.size() > 1)
            piece.chop(1);
        lines.append(piece);
    }
    layout.endLayout();
    return lines.isEmpty() ? QStringList(QString()) : lines;
}

// Wrapped text breaks between words where it can; a value meant to stand
// on one line has no words to keep together and fills each line.
QStringList breakLines(const QStringList &paragraphs, const FontSpec &font, double widthMm, bool wrap)
{
    const QTextOption::WrapMode mode = wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::WrapAnywhere;
    QStringList lines;
    for (const QString &paragraph : paragraphs)
        lines += breakParagraph(paragraph, font, widthMm, mode);
    return lines;
}

// The size at which the widest line fits, or the smallest one allowed.
double shrunkSize(const QStringList &lines, const FontSpec &font, double widthMm)
{
    const double smallest = font.size * kSmallestShrink;
    FontSpec trial = font;
    trial.size = qMax(smallest, font.size * widthMm / widestLineMm(lines, font));
    // Glyph widths do not scale exactly with the size.
    while (trial.size > smallest && widestLineMm(lines, trial) > widthMm)
        trial.size = qMax(smallest, trial.size * 0.98);
    return trial.size;
}

}

int textFlags(Qt::Alignment align)
{
    // A fitted text never needs cutting; should rounding at a coarse
    // device make a line a hair wider, it is drawn whole.
    return int(align | Qt::AlignTop) | Qt::TextDontClip;
}

double textWidthMm(const QString &text, const FontSpec &font)
{
    FontMeasure &measure = measureOf(font);
    auto it = measure.widths.constFind(text);
    if (it == measure.widths.cend()) {
        if (measure.widths.size() >= kKnownWidths)
            measure.widths.clear();
        it = measure.widths.insert(text, measure.metrics.horizontalAdvance(text));
    }
    return it.value() / kPxPerMm;
}

double FittedText::heightMm() const
{
    const QFontMetricsF &metrics = measureOf(font).metrics;
    if (lines.size() <= 1)
        return metrics.height() / kPxPerMm;
    return metrics.boundingRect(QRectF(0, 0, 1e7, 1e7), textFlags(Qt::AlignLeft), text()).height() / kPxPerMm;
}

FittedText fitText(const QString &text, const FontSpec &font, double widthMm, bool wrap)
{
    // Most values are one line, which needs no copy to stand as a list.
    const QStringList paragraphs = text.contains(QLatin1Char('\n')) ? text.split(QLatin1Char('\n')) : QStringList(text);
    FittedText fitted{paragraphs, font};
    if (widthMm <= 0 || widestLineMm(paragraphs, font) <= widthMm)
        return fitted;
    if (!wrap) {
        fitted.font.size = shrunkSize(paragraphs, font, widthMm);
        if (widestLineMm(paragraphs, fitted.font) <= widthMm)
            return fitted;
    }
    fitted.lines = breakLines(paragraphs, fitted.font, widthMm, wrap);
    return fitted;
}

}
