#include "platform/report/Layout.h"

#include "platform/report/api/ReportCodes.h"

namespace report {
namespace {

struct NamedSymbology
{
    int type;
    const char *name;
};

constexpr NamedSymbology kSymbologies[] = {
    {LL_BARCODE_EAN13, "EAN13"},
    {LL_BARCODE_EAN8, "EAN8"},
    {LL_BARCODE_UPCA, "UPCA"},
    {LL_BARCODE_UPCE, "UPCE"},
    {LL_BARCODE_3OF9, "3OF9"},
    {LL_BARCODE_25INDUSTRIAL, "25INDUSTRIAL"},
    {LL_BARCODE_25DATALOGIC, "25DATALOGIC"},
    {LL_BARCODE_25MATRIX, "25MATRIX"},
    {LL_BARCODE_POSTNET, "POSTNET"},
    {LL_BARCODE_FIM, "FIM"},
    {LL_BARCODE_CODABAR, "CODABAR"},
    {LL_BARCODE_EAN128, "EAN128"},
    {LL_BARCODE_CODE128, "CODE128"},
};

QString expressionError(const Expression &e)
{
    return e.isValid() ? QString() : QStringLiteral("%1: %2").arg(e.source(), e.error());
}

QString objectError(const LayoutObject &o)
{
    for (const Expression &line : o.lines) {
        if (!line.isValid())
            return expressionError(line);
    }
    return expressionError(o.expression);
}

QString rowError(const TableRow &row)
{
    if (!row.condition.isValid())
        return expressionError(row.condition);
    for (const TableColumn &c : row.columns) {
        if (!c.expression.isValid())
            return expressionError(c.expression);
    }
    return {};
}

}

bool isDrawableSize(double mm)
{
    return mm > 0 && mm <= kMaxAreaMm;
}

size_t qHash(const FontSpec &font, size_t seed)
{
    return qHashMulti(seed, font.family, font.size, font.bold, font.italic);
}

QFont FontSpec::toQFont() const
{
    QFont font(family);
    font.setPointSizeF(size);
    font.setBold(bold);
    font.setItalic(italic);
    // Ligatures would put one glyph for "ff" or "fi" into a PDF, and a
    // search for "Offene" in the viewer would no longer find the word.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QList<const TableRow *> TableDef::rowsOf(RowPart part) const
{
    QList<const TableRow *> found;
    for (const TableRow &row : rows) {
        if (row.part == part)
            found.append(&row);
    }
    return found;
}

QPointF SheetDef::origin(int slot) const
{
    const int column = slot % qMax(1, columns);
    const int row = slot / qMax(1, columns);
    return {marginLeft + column * (labelWidth + gapX), marginTop + row * (labelHeight + gapY)};
}

QSizeF SheetDef::extent() const
{
    const QPointF last = origin(labelsPerSheet() - 1);
    return {last.x() + labelWidth, last.y() + labelHeight};
}

QString Layout::firstExpressionError() const
{
    for (const LayoutObject &o : objects) {
        const QString error = objectError(o);
        if (!error.isEmpty())
            return error;
    }
    if (table) {
        for (const TableRow &row : table->rows) {
            const QString error = rowError(row);
            if (!error.isEmpty())
                return error;
        }
    }
    return {};
}

bool Layout::hasPrintableObjects() const
{
    return !objects.isEmpty() || (table && !table->rows.isEmpty());
}

QString symbologyName(int type)
{
    for (const NamedSymbology &s : kSymbologies) {
        if (s.type == type)
            return QString::fromLatin1(s.name);
    }
    return QStringLiteral("Variable");
}

int symbologyFromName(const QString &name, bool *ok)
{
    *ok = true;
    for (const NamedSymbology &s : kSymbologies) {
        if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0)
            return s.type;
    }
    *ok = name.compare(QLatin1String("Variable"), Qt::CaseInsensitive) == 0;
    return 0;
}

QList<int> allSymbologies()
{
    QList<int> types;
    for (const NamedSymbology &s : kSymbologies)
        types.append(s.type);
    return types;
}

}
