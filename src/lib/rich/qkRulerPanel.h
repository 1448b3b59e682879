#pragma once

#include <QFrame>
#include <QPointer>

class TqkCustomRichEdit;
class TqkTrackIcon;

// The ruler above the text: scale in the control's unit and three markers
// for the paragraph's left, first-line and right indent. Indents map to
// marker positions by placeMarkers and back by markerMoved.
class TqkRulerPanel : public QFrame
{
    Q_OBJECT

public:
    static constexpr int markerClearance = 48;

    explicit TqkRulerPanel(QWidget *parent = nullptr);

    void SetRichEdit(TqkCustomRichEdit *richEdit);
    TqkCustomRichEdit *RichEdit() const { return m_richEdit; }
    QRect Band() const { return m_band; }
    TqkTrackIcon *LeftMarker() const { return m_left; }
    TqkTrackIcon *FirstLineMarker() const { return m_firstLine; }
    TqkTrackIcon *RightMarker() const { return m_right; }

    // Printer width: the ruler as wide as the printable width of the page;
    // window width: as wide as it is laid out.
    void SizeToPage();
    // Puts the markers where the current paragraph's indents are.
    void PlaceMarkers();
    // Snaps the moved marker to the scale and sets the paragraph's indent
    // it stands for; the other indents keep their values.
    void MarkerMoved(TqkTrackIcon *marker);
    // Where the paragraph's tab stops stand, in ruler pixels.
    QList<int> TabStopPositions() const;

    double PixelsPerUnit() const;
    int TicksPerUnit() const;
    double LengthInUnits() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // A click on the scale sets a tab stop at the tick at or before it.
    void mousePressEvent(QMouseEvent *event) override;

private:
    int tickAtOrBefore(int bandPixels) const;
    int tickPixels(int tick) const;
    int tickTwips(int tick) const;
    int snap(TqkTrackIcon &marker) const;
    int indentTwips(TqkTrackIcon &marker) const;
    int rightIndentTwips();
    void paintScale(QPainter &painter) const;
    void paintTabStops(QPainter &painter) const;
    double printableInches() const;

    QPointer<TqkCustomRichEdit> m_richEdit;
    QRect m_band;
    TqkTrackIcon *m_left;
    TqkTrackIcon *m_firstLine;
    TqkTrackIcon *m_right;
};
