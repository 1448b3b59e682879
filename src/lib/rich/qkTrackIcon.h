#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

// A marker the user drags sideways along the ruler. MinValue and MaxValue
// bound its left edge; 0 means no bound.
class TqkTrackIcon : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString BitmapName READ BitmapName WRITE SetBitmapName)
    Q_PROPERTY(int MinValue MEMBER MinValue)
    Q_PROPERTY(int MaxValue MEMBER MaxValue)

public:
    explicit TqkTrackIcon(QWidget *parent = nullptr);

    QString BitmapName() const { return m_bitmapName; }
    // Loads the named marker picture of the program's resources and takes
    // its size.
    void SetBitmapName(const QString &name);
    int MinValue = 0;
    int MaxValue = 0;
    std::function<void(TqkTrackIcon *)> OnEndDrag;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_bitmapName;
    QPixmap m_bitmap;
    int m_startX = 0;
    bool m_dragging = false;
    bool m_moved = false;
};
