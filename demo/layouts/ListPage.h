#pragma once

#include "demo/layouts/LayoutStyle.h"
#include "platform/report/Layout.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace demo {

// One column of a demo list: its heading, width in millimetres, the
// expression of its data lines and, when the list totals it, the expression
// of its end-footer cell.
struct ListColumn
{
    QString title;
    double width = 20;
    QString expression;
    Qt::Alignment align = Qt::AlignLeft;
    QString total = {};
};

// A demo list page: title, lines under it (period, partner), columns and an
// optional label in front of the totals line.
struct ListPage
{
    QString title;
    QStringList subtitle;
    QList<ListColumn> columns;
    QString totalLabel = {};
    bool landscape = false;
    // Data lines print only when this is true (empty: always).
    QString lineCondition = {};
};

report::Layout listLayout(const ListPage &page);

}
