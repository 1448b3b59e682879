#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/Layout.h"
#include "platform/report/LayoutNames.h"
#include "platform/report/Page.h"
#include "platform/report/TextMetrics.h"

#include <QHash>
#include <QImage>

namespace report {

// Turns layout objects and table rows into drawing operations with the
// values of a name scope.
class ObjectRenderer
{
public:
    explicit ObjectRenderer(const QString &layoutFolder) : m_folder(layoutFolder) {}

    void render(const LayoutObject &object, QPointF offset, const NameScope &scope, Page &page);

    // Rows of `part` whose condition holds, and the height they need.
    QList<const TableRow *> activeRows(const TableDef &table, RowPart part, const NameScope &scope) const;
    double rowsHeight(const QList<const TableRow *> &rows, const TableDef &table, const NameScope &scope) const;
    // Draws the rows from `top`, clipped at `bottom`; returns the new top.
    double renderRows(const QList<const TableRow *> &rows, const TableDef &table, double top, double bottom,
                      const NameScope &scope, Page &page) const;
    // The elements drawn since the last call that used names their scope
    // does not define, each element once.
    QList<UnknownNames> takeUnknownNames();

private:
    QString m_folder;
    QHash<QString, QImage> m_files;
    mutable QList<UnknownNames> m_unknown;

    void keepUnknown(const QString &element, const CheckedScope &scope) const;

    static QList<FittedText> fittedCells(const TableRow &row, const NameScope &scope);
    static double rowHeight(const TableRow &row, const QList<FittedText> &cells);
    void renderRow(const TableRow &row, double left, double width, double top, double height,
                   const QList<FittedText> &cells, Page &page) const;
    void renderText(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page) const;
    void renderPicture(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page);
    void renderBarcode(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page) const;
};

}
