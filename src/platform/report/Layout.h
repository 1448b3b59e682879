#pragma once

#include "platform/report/Expression.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

namespace report {

// All positions and sizes are millimetres from the top left corner of the
// page (lists) or of the label (labels).

// Label tapes are only a few millimetres high; a size is refused only when it
// cannot be drawn at all.
constexpr double kMaxAreaMm = 10000;
bool isDrawableSize(double mm);

struct FontSpec
{
    QString family = QStringLiteral("DejaVu Sans");
    double size = 10;
    bool bold = false;
    bool italic = false;

    QFont toQFont() const;
    bool operator==(const FontSpec &) const = default;
};
size_t qHash(const FontSpec &font, size_t seed = 0);

enum class Appearance { AllPages, FirstPage, FollowingPages, AfterTable };

enum class ObjectKind { Text, Line, Rectangle, Picture, Barcode };

struct LayoutObject
{
    ObjectKind kind = ObjectKind::Text;
    QString name;
    QRectF rect;
    Appearance appearance = Appearance::AllPages;
    // text: one expression per line; lines that come out empty are left out
    QList<Expression> lines;
    FontSpec font;
    Qt::Alignment align = Qt::AlignLeft;
    bool wrap = false;
    // line and rectangle
    double pen = 0.3;
    QColor fill;
    // picture: a picture variable, else a file (relative to the layout's folder)
    QString file;
    QString variable;
    // barcode: 0 takes the symbology from the barcode variable
    Expression expression;
    int symbology = 0;
    bool showText = true;
};

enum class RowPart { Header, Data, PageFooter, EndFooter };

struct TableColumn
{
    double width = 20;
    Qt::Alignment align = Qt::AlignLeft;
    FontSpec font;
    bool wrap = false;
    Expression expression;
};

struct TableRow
{
    RowPart part = RowPart::Data;
    double height = 5;
    Expression condition; // empty: always
    QColor fill;
    double lineAbove = 0;
    double lineBelow = 0;
    QList<TableColumn> columns;
};

struct TableDef
{
    QRectF rect;
    double followingTop = 0; // top on following pages; 0 = as on the first
    QList<TableRow> rows;

    QList<const TableRow *> rowsOf(RowPart part) const;
};

struct SheetDef
{
    double labelWidth = 70;
    double labelHeight = 37;
    int columns = 3;
    int rows = 8;
    double marginLeft = 0;
    double marginTop = 0;
    double gapX = 0;
    double gapY = 0;

    int labelsPerSheet() const { return columns * rows; }
    QPointF origin(int slot) const;
    // From the sheet's top left corner to the far corner of its last label.
    QSizeF extent() const;
};

struct Layout
{
    enum class Type { List, Label };

    Type type = Type::List;
    QSizeF pageSize{210, 297};
    double marginLeft = 20;
    double marginTop = 15;
    double marginRight = 15;
    double marginBottom = 15;
    SheetDef sheet;
    QList<LayoutObject> objects;
    std::optional<TableDef> table;

    // The first syntax error among the layout's expressions, or empty.
    QString firstExpressionError() const;
    bool hasPrintableObjects() const;
    double printableBottom() const { return pageSize.height() - marginBottom; }
};

QString symbologyName(int type);
int symbologyFromName(const QString &name, bool *ok);
QList<int> allSymbologies();

}
