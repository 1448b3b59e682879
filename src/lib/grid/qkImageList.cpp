#include "lib/grid/qkImageList.h"

TImageList::TImageList(int width, int height, QObject *owner) : QObject(owner), m_width(width), m_height(height)
{}

int TImageList::Add(const QImage &image)
{
    m_images.append(image.size() == QSize(m_width, m_height)
                        ? image
                        : image.scaled(m_width, m_height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return Count() - 1;
}

QImage TImageList::Image(int index) const
{
    return m_images.value(index);
}
