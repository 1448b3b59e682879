#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/Layout.h"
#include "platform/report/LayoutNames.h"
#include "platform/report/Page.h"
#include "platform/report/TextMetrics.h"

#include <QHash>
#include <QImage>

namespace report {

// A table row set with the values of one line: its cells as they are drawn
// and the height they need, measured once for the fitting and the drawing.
struct FittedRow
{
    const TableRow *row = nullptr;
    QList<FittedText> cells;
    double height = 0;
    // Names the cells used that the scope does not define.
    QStringList missing;
};

// Turns layout objects and table rows into drawing operations with the
// values of a name scope.
class ObjectRenderer
{
public:
    explicit ObjectRenderer(const QString &layoutFolder) : m_folder(layoutFolder) {}

    void render(const LayoutObject &object, QPointF offset, const NameScope &scope, Page &page);

    // Rows of `part` whose condition holds, set with the values of `scope`.
    QList<FittedRow> fitRows(const TableDef &table, RowPart part, const NameScope &scope) const;
    static double rowsHeight(const QList<FittedRow> &rows);
    // Draws the rows from `top`, clipped at `bottom`; returns the new top.
    double renderRows(const QList<FittedRow> &rows, const TableDef &table, double top, double bottom, Page &page) const;
    // The elements drawn since the last call that used names their scope
    // does not define, each element once.
    QList<UnknownNames> takeUnknownNames();

private:
    QString m_folder;
    QHash<QString, QImage> m_files;
    mutable QList<UnknownNames> m_unknown;

    void keepUnknown(const QString &element, const QStringList &names) const;

    QList<const TableRow *> activeRows(const TableDef &table, RowPart part, const NameScope &scope) const;
    static FittedRow fitRow(const TableRow &row, const NameScope &scope);
    void renderRow(const TableRow &row, double left, double width, double top, double height,
                   const QList<FittedText> &cells, Page &page) const;
    void renderText(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page) const;
    void renderPicture(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page);
    void renderBarcode(const LayoutObject &o, const QRectF &rect, const NameScope &scope, Page &page) const;
};

}
