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

    // Printer width: the ruler as wide as the printable width of the page.
    void SizeToPage();
    // Puts the markers where the current paragraph's indents are.
    void PlaceMarkers();
    // Snaps the markers to the scale and sets the paragraph's indents from
    // them.
    void MarkerMoved(TqkTrackIcon *marker);

    double PixelsPerUnit() const;
    int TicksPerUnit() const;
    double LengthInUnits() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void snap(TqkTrackIcon &marker) const;
    double printableInches() const;

    QPointer<TqkCustomRichEdit> m_richEdit;
    QRect m_band;
    TqkTrackIcon *m_left;
    TqkTrackIcon *m_firstLine;
    TqkTrackIcon *m_right;
};
