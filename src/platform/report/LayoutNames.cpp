#include "platform/report/LayoutNames.h"

namespace report {
namespace {

void lookUp(const CheckedScope &scope, const Expression &expression)
{
    for (const QString &name : expression.names())
        scope.lookup(name);
}

void keepMissing(QList<UnknownNames> &found, const QString &element, const CheckedScope &scope)
{
    if (!scope.missing().isEmpty())
        found.append({element, scope.missing()});
}

}

QString objectKindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Line:
        return QStringLiteral("Linie");
    case ObjectKind::Rectangle:
        return QStringLiteral("Rechteck");
    case ObjectKind::Picture:
        return QStringLiteral("Bild");
    case ObjectKind::Barcode:
        return QStringLiteral("Barcode");
    case ObjectKind::Text:
        break;
    }
    return QStringLiteral("Text");
}

const QStringList &rowPartNames()
{
    static const QStringList names = {QStringLiteral("Kopfzeile"), QStringLiteral("Datenzeile"),
                                      QStringLiteral("Seitenfuß"), QStringLiteral("Tabellenende")};
    return names;
}

QString nameOf(const LayoutObject &object)
{
    return object.name.isEmpty() ? objectKindName(object.kind) : object.name;
}

QList<UnknownNames> unknownNames(const Layout &layout, const Definitions &variables, const Definitions &fields)
{
    QList<UnknownNames> found;
    const DefinitionScope pageScope(&variables, nullptr);
    for (const LayoutObject &o : layout.objects) {
        const CheckedScope checked(pageScope);
        for (const Expression &line : o.lines)
            lookUp(checked, line);
        lookUp(checked, o.expression);
        checked.lookup(o.variable);
        keepMissing(found, nameOf(o), checked);
    }
    if (!layout.table)
        return found;
    const DefinitionScope tableScope(&variables, &fields);
    for (const TableRow &row : layout.table->rows) {
        const CheckedScope checked(tableScope);
        lookUp(checked, row.condition);
        for (const TableColumn &c : row.columns)
            lookUp(checked, c.expression);
        keepMissing(found, rowName(*layout.table, row), checked);
    }
    return found;
}

QString rowName(const TableDef &table, const TableRow &row)
{
    const qsizetype index = &row - table.rows.constData();
    return QStringLiteral("Tabelle, %1 %2").arg(rowPartNames().at(int(row.part))).arg(index + 1);
}

QString unknownNamesMessage(const QList<UnknownNames> &unknown)
{
    return QStringLiteral("Das Formular verwendet Namen, die beim Druck nicht bekannt sind:\n")
           + describeUnknownNames(unknown);
}

const Definition *CheckedScope::lookup(const QString &name) const
{
    const Definition *found = m_inner.lookup(name);
    if (!found && !name.isEmpty() && !m_missing.contains(name, Qt::CaseInsensitive))
        m_missing.append(name);
    return found;
}

QString describeUnknownNames(const QList<UnknownNames> &unknown)
{
    QStringList lines;
    for (const UnknownNames &u : unknown)
        lines.append(QStringLiteral("„%1“: %2").arg(u.element, u.names.join(QStringLiteral(", "))));
    return lines.join(QLatin1Char('\n'));
}

}
