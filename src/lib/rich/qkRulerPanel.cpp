#include "lib/rich/qkRulerPanel.h"

#include "lib/rich/qkRichPrint.h"
#include "lib/rich/qkRichTabDialog.h"
#include "lib/rich/qkTrackIcon.h"
#include "lib/rich/qkriched.h"
#include "platform/rtf/RtfDocument.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>

#include <cmath>

namespace {

int lengthToPixels(double length, int pixelsPerInch)
{
    return richMeasure::twipsToScreenPixels(rtf::toTwips(length), pixelsPerInch);
}

} // namespace

TqkRulerPanel::TqkRulerPanel(QWidget *parent)
    : QFrame(parent), m_left(new TqkTrackIcon(this)), m_firstLine(new TqkTrackIcon(this)),
      m_right(new TqkTrackIcon(this))
{
    m_left->SetBitmapName(QStringLiteral("LeftIndent"));
    m_firstLine->SetBitmapName(QStringLiteral("FirstIndent"));
    m_right->SetBitmapName(QStringLiteral("RightIndent"));
    setMinimumHeight(26);
    resize(400, 26);
    for (TqkTrackIcon *marker : {m_left, m_firstLine, m_right})
        marker->OnEndDrag = [this](TqkTrackIcon *moved) { MarkerMoved(moved); };
}

void TqkRulerPanel::SetRichEdit(TqkCustomRichEdit *richEdit)
{
    m_richEdit = richEdit;
    if (richEdit)
        connect(richEdit, &QTextEdit::cursorPositionChanged, this, &TqkRulerPanel::PlaceMarkers);
    PlaceMarkers();
}

double TqkRulerPanel::PixelsPerUnit() const
{
    const double perInch = m_richEdit ? m_richEdit->ScreenPixelsPerInch() : 96;
    const bool centimetres = m_richEdit && m_richEdit->MeasurementUnits() == muCentimeters;
    return centimetres ? perInch / richMeasure::centimetresPerInch : perInch;
}

int TqkRulerPanel::TicksPerUnit() const
{
    return m_richEdit && m_richEdit->MeasurementUnits() == muCentimeters ? 4 : 8;
}

double TqkRulerPanel::printableInches() const
{
    const QSizeF paper = richPrint::paperSize(m_richEdit->PaperSize()).size(QPageSize::Inch);
    const double width = m_richEdit->Landscape() ? paper.height() : paper.width();
    const TqkPrintMargins &margins = *m_richEdit->PrintMargins();
    const TqkMeasurementUnits units = m_richEdit->MeasurementUnits();
    return width
           - double(richMeasure::marginTwips(margins.Left, units) + richMeasure::marginTwips(margins.Right, units))
                 / richMeasure::twipsPerInch;
}

double TqkRulerPanel::LengthInUnits() const
{
    if (m_richEdit && m_richEdit->EditWidth() == rewPrinterSize) {
        const double inches = printableInches();
        return m_richEdit->MeasurementUnits() == muCentimeters ? inches * richMeasure::centimetresPerInch : inches;
    }
    return (width() - 12) / PixelsPerUnit();
}

// Fixed to the page in printer width, so that the window's layout keeps
// it there; in window width it spans whatever the window gives it.
void TqkRulerPanel::SizeToPage()
{
    if (m_richEdit && m_richEdit->EditWidth() == rewPrinterSize) {
        setFixedWidth(int(m_richEdit->ScreenPixelsPerInch() * printableInches()) + 12);
        return;
    }
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
}

void TqkRulerPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    m_band = QRect(QPoint(6, 4), QPoint(width() - 6, height() - 4));
    for (TqkTrackIcon *marker : {m_left, m_firstLine, m_right}) {
        marker->MinValue = m_band.left() - marker->width() / 2;
        marker->MaxValue = m_band.right() - marker->width() / 2;
    }
    m_left->move(m_left->x(), m_band.bottom() - m_left->height() + 1);
    m_right->move(m_right->x(), m_band.bottom() - m_right->height() + 1);
    m_firstLine->move(m_firstLine->x(), m_band.top());
    PlaceMarkers();
}

// A paragraph's start indent S and offset O are stored as the left margin
// S + O and the first-line indent -O.
void TqkRulerPanel::PlaceMarkers()
{
    if (!m_richEdit)
        return;
    const QTextBlockFormat format = m_richEdit->textCursor().blockFormat();
    const int perInch = m_richEdit->ScreenPixelsPerInch();
    const int startPlusOffset = lengthToPixels(format.leftMargin(), perInch);
    const int start = lengthToPixels(format.leftMargin() + rtf::firstLineIndent(format), perInch);
    const int right = lengthToPixels(format.rightMargin(), perInch);
    m_left->move(startPlusOffset + m_band.left() - m_left->width() / 2, m_left->y());
    m_firstLine->move(start + m_band.left() - m_firstLine->width() / 2, m_firstLine->y());
    m_right->move(width() - right - m_right->width(), m_right->y());
    update();
}

// Ticks stand at whole pixels cut down from their exact place, so the tick
// at or before a pixel is the last one whose cut place is not beyond it; an
// indent taken from a marker on a tick is that tick's exact length.
int TqkRulerPanel::tickAtOrBefore(int bandPixels) const
{
    const double tick = PixelsPerUnit() / TicksPerUnit();
    return std::max(0, int(std::ceil((bandPixels + 1) / tick)) - 1);
}

int TqkRulerPanel::tickPixels(int tick) const
{
    return int(tick * PixelsPerUnit() / TicksPerUnit());
}

int TqkRulerPanel::tickTwips(int tick) const
{
    return richMeasure::unitsToTwips(double(tick) / TicksPerUnit(), m_richEdit->MeasurementUnits());
}

// Puts the marker on the tick at or before it; the tick it stands on.
int TqkRulerPanel::snap(TqkTrackIcon &marker) const
{
    const int half = marker.width() / 2;
    int tick = tickAtOrBefore(marker.x() + half - m_band.left());
    if (marker.MaxValue != 0)
        tick = std::min(tick, tickAtOrBefore(marker.MaxValue + half - m_band.left()));
    marker.move(tickPixels(tick) + m_band.left() - half, marker.y());
    return tick;
}

void TqkRulerPanel::MarkerMoved(TqkTrackIcon *marker)
{
    if (!m_richEdit)
        return;
    if (marker == m_right) {
        const double right = rtf::fromTwips(rightIndentTwips());
        m_richEdit->ChangeParagraphs([right](QTextBlockFormat &format) { format.setRightMargin(right); });
    } else {
        // Each paragraph keeps its own other indent.
        const int twips = indentTwips(*marker);
        const bool leftMoved = marker == m_left;
        m_richEdit->ChangeParagraphs([twips, leftMoved](QTextBlockFormat &format) {
            const int left = leftMoved ? twips : rtf::toTwips(format.leftMargin());
            const int first = leftMoved ? rtf::toTwips(format.leftMargin() + rtf::firstLineIndent(format)) : twips;
            const int offset = left + std::min(-first, left);
            rtf::setIndents(format, rtf::fromTwips(first + offset), rtf::fromTwips(-offset));
        });
    }
    PlaceMarkers();
}

int TqkRulerPanel::rightIndentTwips()
{
    snap(*m_right);
    m_right->move(std::max(m_right->x(), std::max(m_left->x(), m_firstLine->x()) + markerClearance), m_right->y());
    const int offset = m_richEdit->LeftTextOffset();
    const int pixels = m_richEdit->EditWidth() == rewPrinterSize
                           ? m_right->MaxValue - offset - 4 - m_right->x() + 2 * (m_right->width() / 2)
                           : m_richEdit->width() - offset - 4 - m_right->x() + m_right->width() / 2;
    return richMeasure::screenPixelsToTwips(pixels, m_richEdit->ScreenPixelsPerInch());
}

// A left or first-line marker stands on its tick unless that is too close
// to the right marker; it then stops short of it and measures by pixels.
int TqkRulerPanel::indentTwips(TqkTrackIcon &marker) const
{
    const int tick = snap(marker);
    const int limit = m_right->x() - markerClearance;
    if (marker.x() <= limit)
        return tickTwips(tick);
    marker.move(limit, marker.y());
    return richMeasure::screenPixelsToTwips(limit + marker.width() / 2 - m_band.left(),
                                            m_richEdit->ScreenPixelsPerInch());
}

QList<int> TqkRulerPanel::TabStopPositions() const
{
    QList<int> positions;
    if (!m_richEdit)
        return positions;
    for (const int twips : qkTabStopTwips(*m_richEdit))
        positions.append(m_band.left() + richMeasure::twipsToScreenPixels(twips, m_richEdit->ScreenPixelsPerInch()));
    return positions;
}

void TqkRulerPanel::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (!m_richEdit || event->button() != Qt::LeftButton || !m_band.contains(at)) {
        QFrame::mousePressEvent(event);
        return;
    }
    const int twips = tickTwips(tickAtOrBefore(at.x() - m_band.left()));
    QList<int> stops = qkTabStopTwips(*m_richEdit);
    if (stops.contains(twips) || stops.size() >= TqkRichTabDialog::maxTabStops)
        return;
    stops.insert(std::lower_bound(stops.begin(), stops.end(), twips), twips);
    qkSetTabStops(*m_richEdit, stops);
    update();
}

void TqkRulerPanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    paintScale(painter);
    paintTabStops(painter);
}

void TqkRulerPanel::paintScale(QPainter &painter) const
{
    const QRect band = m_band;
    painter.fillRect(band, Qt::white);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(band.left() - 1, band.bottom(), band.left() - 1, band.top() - 1);
    painter.drawLine(band.left() - 1, band.top() - 1, band.right(), band.top() - 1);
    painter.setPen(Qt::black);
    painter.drawLine(band.left(), band.bottom() - 1, band.left(), band.top());
    painter.drawLine(band.left(), band.top(), band.right() - 1, band.top());
    painter.setPen(palette().color(QPalette::Button));
    painter.drawLine(band.left() - 1, band.bottom() + 1, band.right() + 1, band.bottom() + 1);
    painter.drawLine(band.right() + 1, band.bottom() + 1, band.right() + 1, band.top() - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(band.left() - 2, band.bottom() + 2, band.right() + 2, band.bottom() + 2);
    painter.drawLine(band.right() + 2, band.bottom() + 2, band.right() + 2, band.top() - 2);

    const double perUnit = PixelsPerUnit();
    const double length = LengthInUnits();
    const int ticks = TicksPerUnit();
    QFont small = font();
    small.setPixelSize(9);
    painter.setFont(small);
    painter.setPen(Qt::black);
    for (int i = 0; i <= int(length) + 1 && i < length; ++i) {
        if (i > 0) {
            const int centre = band.left() + int(i * perUnit);
            painter.drawText(QRect(centre - 10, band.top() + 3, 20, band.height() - 3), Qt::AlignHCenter | Qt::AlignTop,
                             QString::number(i));
        }
        for (int j = 1; j < ticks; ++j) {
            const double at = i + double(j) / ticks;
            if (at >= length)
                break;
            const int x = band.left() + int(at * perUnit);
            if (j == ticks / 2)
                painter.drawLine(x, band.top() + 7, x, band.bottom() - 5);
            else
                painter.drawLine(x, band.top() + 8, x, band.bottom() - 7);
        }
    }
}

// Each stop is an L on the lower edge of the band, its upright on the
// stop's place, as the paragraph's left tab stops are shown.
void TqkRulerPanel::paintTabStops(QPainter &painter) const
{
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    const int bottom = m_band.bottom() - 1;
    for (const int x : TabStopPositions()) {
        painter.drawLine(QPointF(x, bottom - 5), QPointF(x, bottom));
        painter.drawLine(QPointF(x, bottom), QPointF(x + 5, bottom));
    }
}
