#pragma once

#include <QToolButton>

class TqkCustomDBGrid;

// The button in the grid's top-left cell: the indicator column is as wide
// as the button less one pixel, and the title row at least as high.
class TqkIButton : public QToolButton
{
    Q_OBJECT

public:
    explicit TqkIButton(TqkCustomDBGrid *grid);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    TqkCustomDBGrid *m_grid;
};
