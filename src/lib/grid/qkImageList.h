#pragma once

#include <QImage>
#include <QObject>
#include <QVector>

// The class library's image list: pictures of one size, picked by index.
class TImageList : public QObject
{
    Q_OBJECT

public:
    TImageList(int width, int height, QObject *owner = nullptr);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return int(m_images.size()); }
    // Scaled to the list's size; the index it got.
    int Add(const QImage &image);
    // A null image for an index outside the list.
    QImage Image(int index) const;

private:
    int m_width;
    int m_height;
    QVector<QImage> m_images;
};
