#pragma once

#include <QWidget>

class TqkCustomDBGrid;

// The footer band below the grid's rows, in the space the viewport leaves free.
class TqkGridFooter : public QWidget
{
    Q_OBJECT

public:
    explicit TqkGridFooter(TqkCustomDBGrid *grid);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TqkCustomDBGrid *m_grid;
};
