#include "platform/report/DesignCanvas.h"

#include "platform/report/ObjectRenderer.h"
#include "platform/report/PagePainter.h"
#include "platform/report/PreviewWindow.h"

#include <QMouseEvent>
#include <QPainter>

namespace report {
namespace {

constexpr double kHandleMm = 2.5;
constexpr double kGridMm = 0.5;

double snapped(double mm)
{
    return std::round(mm / kGridMm) * kGridMm;
}

}

DesignCanvas::DesignCanvas(Layout &layout, const QString &folder, const Definitions &variables,
                           const Definitions &fields, QWidget *parent)
    : QWidget(parent), m_layout(layout), m_folder(folder), m_variables(variables), m_fields(fields)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    resize(sizeHint());
}

void DesignCanvas::areaChanged()
{
    resize(sizeHint());
    update();
}

QSizeF DesignCanvas::areaMm() const
{
    if (m_layout.type == Layout::Type::Label)
        return {m_layout.sheet.labelWidth, m_layout.sheet.labelHeight};
    return m_layout.pageSize;
}

bool DesignCanvas::fitsArea(int index, const QRectF &rect) const
{
    const bool afterTable =
        index >= 0 && index < tableIndex() && m_layout.objects.at(index).appearance == Appearance::AfterTable;
    const QRectF shown = rect.normalized().translated(afterTable ? offsetOf(m_layout.objects.at(index)) : QPointF());
    const QSizeF area = areaMm();
    constexpr double tolerance = 1e-6;
    return shown.left() >= -tolerance && shown.top() >= -tolerance && shown.right() <= area.width() + tolerance
           && shown.bottom() <= area.height() + tolerance;
}

QSize DesignCanvas::sizeHint() const
{
    return (areaMm() * m_zoom).toSize() + QSize(1, 1);
}

void DesignCanvas::select(int index)
{
    m_selected = index >= 0 && index <= tableIndex() && (index < tableIndex() || m_layout.table) ? index : -1;
    update();
    emit selectionChanged(m_selected);
}

QRectF DesignCanvas::rectOf(int index) const
{
    if (index >= 0 && index < tableIndex())
        return m_layout.objects.at(index).rect;
    if (index == tableIndex() && m_layout.table)
        return m_layout.table->rect;
    return {};
}

void DesignCanvas::setFollowingPage(bool following)
{
    m_following = following;
    select(-1);
}

bool DesignCanvas::shows(const LayoutObject &o) const
{
    if (m_layout.type == Layout::Type::Label)
        return true;
    return o.appearance == Appearance::AllPages || o.appearance == Appearance::AfterTable
           || o.appearance == (m_following ? Appearance::FollowingPages : Appearance::FirstPage);
}

// Objects after the table are shown where the longest table that still
// leaves them room on its page would end: below the table's area, but never
// beyond the printable area, as printing moves them to the next page then.
QPointF DesignCanvas::offsetOf(const LayoutObject &o) const
{
    if (o.appearance != Appearance::AfterTable || !m_layout.table)
        return {};
    double blockHeight = 0;
    for (const LayoutObject &other : m_layout.objects) {
        if (other.appearance == Appearance::AfterTable)
            blockHeight = qMax(blockHeight, other.rect.bottom());
    }
    const QRectF &table = m_layout.table->rect;
    return QPointF(0, qMax(table.top(), qMin(table.bottom(), m_layout.printableBottom() - blockHeight)));
}

QRectF DesignCanvas::displayRect(int index) const
{
    if (index >= 0 && index < tableIndex()) {
        const LayoutObject &o = m_layout.objects.at(index);
        return shows(o) ? o.rect.translated(offsetOf(o)) : QRectF();
    }
    return m_following ? QRectF() : rectOf(index);
}

void DesignCanvas::setRectOf(int index, const QRectF &rect)
{
    if (index >= 0 && index < tableIndex())
        m_layout.objects[index].rect = rect;
    else if (index == tableIndex() && m_layout.table)
        m_layout.table->rect = rect;
    update();
}

// The live preview shows each object with the current record's values; the
// table shows its header and one line of the current fields.
Page DesignCanvas::previewPage() const
{
    Page page;
    page.size = areaMm();
    ObjectRenderer renderer(m_folder);
    const DefinitionScope scope(&m_variables, &m_fields);
    for (const LayoutObject &o : m_layout.objects) {
        if (shows(o))
            renderer.render(o, offsetOf(o), scope, page);
    }
    if (m_layout.table) {
        const TableDef &t = *m_layout.table;
        const double start = m_following && t.followingTop > 0 ? t.followingTop : t.rect.y();
        double top = renderer.renderRows(renderer.fitRows(t, RowPart::Header, scope), t, start, t.rect.bottom(), page);
        renderer.renderRows(renderer.fitRows(t, RowPart::Data, scope), t, top, t.rect.bottom(), page);
    }
    return page;
}

void DesignCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(QPointF(0, 0), renderPageImage(previewPage(), int(m_zoom * 25.4 / 96.0 * 100)));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::lightGray, 1, Qt::DashLine));
    if (m_layout.type == Layout::Type::List) {
        p.drawRect(QRectF(toPixels({m_layout.marginLeft, m_layout.marginTop}),
                          toPixels({m_layout.pageSize.width() - m_layout.marginRight, m_layout.printableBottom()})));
    }
    for (int i = 0; i <= tableIndex(); ++i) {
        const QRectF r = displayRect(i);
        if (r.isNull())
            continue;
        p.setPen(QPen(i == m_selected ? QColor(0, 90, 200) : QColor(170, 170, 170), 1,
                      i == m_selected ? Qt::SolidLine : Qt::DotLine));
        p.drawRect(QRectF(toPixels(r.topLeft()), toPixels(r.bottomRight())));
        if (i == m_selected) {
            const QPointF corner = toPixels(r.bottomRight());
            p.fillRect(QRectF(corner - QPointF(6, 6), QSizeF(6, 6)), QColor(0, 90, 200));
        }
    }
}

// Objects lie above the table, later ones above earlier ones.
int DesignCanvas::hitTest(QPointF mm) const
{
    for (int i = tableIndex() - 1; i >= 0; --i) {
        const QRectF r = displayRect(i);
        if (!r.isNull() && r.normalized().adjusted(-1, -1, 1, 1).contains(mm))
            return i;
    }
    return displayRect(tableIndex()).contains(mm) ? tableIndex() : -1;
}

bool DesignCanvas::onResizeHandle(int index, QPointF mm) const
{
    const QPointF corner = displayRect(index).bottomRight();
    return index >= 0 && std::abs(mm.x() - corner.x()) <= kHandleMm && std::abs(mm.y() - corner.y()) <= kHandleMm;
}

void DesignCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPointF mm = event->position() / m_zoom;
    if (event->button() != Qt::LeftButton)
        return;
    if (!onResizeHandle(m_selected, mm))
        select(hitTest(mm));
    if (m_selected < 0)
        return;
    m_drag = onResizeHandle(m_selected, mm) ? Drag::Resize : Drag::Move;
    m_dragStart = mm;
    m_rectAtStart = displayRect(m_selected);
}

void DesignCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF mm = event->position() / m_zoom;
    if (m_drag == Drag::None) {
        setCursor(onResizeHandle(m_selected, mm) ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
        return;
    }
    const QPointF delta = mm - m_dragStart;
    QRectF r = m_rectAtStart;
    if (m_drag == Drag::Move)
        r.moveTopLeft(QPointF(snapped(r.x() + delta.x()), snapped(r.y() + delta.y())));
    else
        r.setBottomRight(QPointF(snapped(r.right() + delta.x()), snapped(r.bottom() + delta.y())));
    setRectOf(m_selected, r.translated(rectOf(m_selected).topLeft() - displayRect(m_selected).topLeft()));
    emit geometryChanged(m_selected);
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent *)
{
    m_drag = Drag::None;
}

}
