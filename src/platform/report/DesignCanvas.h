#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/Layout.h"
#include "platform/report/Page.h"

#include <QWidget>

namespace report {

// The page (or one label) of the designer: shows the objects with the job's
// current values, selects them, moves them with the mouse and resizes them
// at their lower right corner. The table counts as the object after the
// last one.
class DesignCanvas : public QWidget
{
    Q_OBJECT
public:
    DesignCanvas(Layout &layout, const QString &folder, const Definitions &variables, const Definitions &fields,
                 QWidget *parent = nullptr);

    int selected() const { return m_selected; }
    void select(int index);
    int tableIndex() const { return int(m_layout.objects.size()); }
    // The stored rectangle (objects after the table relative to its end).
    QRectF rectOf(int index) const;
    void setRectOf(int index, const QRectF &rect);
    // Where the object shows in the current view; empty when it does not.
    QRectF displayRect(int index) const;
    // Shows a following page instead of the first one.
    void setFollowingPage(bool following);
    double pixelsPerMm() const { return m_zoom; }
    QPointF toPixels(QPointF mm) const { return mm * m_zoom; }
    QSize sizeHint() const override;
    // After the page or the label size changed.
    void areaChanged();
    // The page, or for labels one label, in millimetres.
    QSizeF areaMm() const;
    // Whether the element at index, given the stored rectangle, lies on the
    // page (or the label).
    bool fitsArea(int index, const QRectF &rect) const;

signals:
    void selectionChanged(int index);
    void geometryChanged(int index);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Drag { None, Move, Resize };

    Layout &m_layout;
    QString m_folder;
    const Definitions &m_variables;
    const Definitions &m_fields;
    double m_zoom = 3.0; // pixels per millimetre
    int m_selected = -1;
    bool m_following = false;
    Drag m_drag = Drag::None;
    QPointF m_dragStart;
    QRectF m_rectAtStart;

    bool shows(const LayoutObject &o) const;
    QPointF offsetOf(const LayoutObject &o) const;
    int hitTest(QPointF mm) const;
    bool onResizeHandle(int index, QPointF mm) const;
    Page previewPage() const;
};

}
