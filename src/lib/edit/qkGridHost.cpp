#include "lib/edit/qkGridHost.h"

#include "lib/data/Qkcommon.h"

#include <QWidget>

TqkGridHost *qkGridHostOf(const QWidget *control)
{
    QWidget *parent = control ? control->parentWidget() : nullptr;
    if (!parent || !qkInheritsFromName(parent, QStringLiteral("TqkDBGrid")))
        return nullptr;
    return dynamic_cast<TqkGridHost *>(parent);
}

void qkPassKeyToGrid(TqkGridHost *grid, int &key, qk::TShiftState shift)
{
    int gridKey = key;
    key = 0;
    if (grid->TakeFocus())
        grid->GridKeyDown(gridKey, shift);
}
