#include "lib/rich/qkTrackIcon.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

// The pictures live in this static library; the executable that links it
// must register them.
static void initMarkerPictures()
{
    Q_INIT_RESOURCE(qkRuler);
}

TqkTrackIcon::TqkTrackIcon(QWidget *parent) : QWidget(parent)
{
    initMarkerPictures();
    setAttribute(Qt::WA_TranslucentBackground);
}

void TqkTrackIcon::SetBitmapName(const QString &name)
{
    if (name == m_bitmapName || name.isEmpty())
        return;
    m_bitmapName = name;
    m_bitmap = QPixmap(QStringLiteral(":/qkrich/%1.png").arg(name.toLower()));
    if (!m_bitmap.isNull()) {
        // The pixel in the lower left corner gives the transparent colour.
        const QColor transparent = m_bitmap.toImage().pixelColor(0, m_bitmap.height() - 1);
        m_bitmap.setMask(m_bitmap.createMaskFromColor(transparent));
        resize(m_bitmap.size());
    }
    update();
}

void TqkTrackIcon::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

void TqkTrackIcon::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_moved = false;
    m_startX = event->position().toPoint().x();
}

void TqkTrackIcon::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const int x = event->position().toPoint().x();
    if (!m_moved && x == m_startX)
        return;
    int left = pos().x() + x - m_startX;
    if (MinValue != 0)
        left = std::max(left, MinValue);
    if (MaxValue != 0)
        left = std::min(left, MaxValue);
    move(left, pos().y());
    m_moved = true;
}

void TqkTrackIcon::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    if (m_moved && OnEndDrag)
        OnEndDrag(this);
}
