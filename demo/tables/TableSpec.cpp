#include "demo/tables/TableSpec.h"

#include "platform/runtime/Exceptions.h"

namespace demo {

int TableSpec::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList TableSpec::keyFields() const
{
    QStringList names;
    for (int i = 0; i < keyFieldCount; ++i)
        names << fields.at(i).name;
    return names;
}

static FieldSpec parseField(const QString &entry)
{
    const QStringList parts = entry.simplified().split(QLatin1Char(' '));
    if (parts.size() != 2 || parts.at(1).isEmpty())
        throw Exception(QStringLiteral("Feldangabe braucht Name und Typ: ") + entry);
    FieldSpec field{parts.at(0), parts.at(1).at(0), 0};
    if (parts.at(1).size() > 1) {
        bool ok = false;
        field.size = parts.at(1).mid(1).toInt(&ok);
        if (!ok)
            throw Exception(QStringLiteral("Ungültige Feldgröße: ") + entry);
    }
    if (!QStringLiteral("ANSI$+DT@LMG").contains(field.type))
        throw Exception(QStringLiteral("Unbekannter Feldtyp: ") + entry);
    if ((field.type == QLatin1Char('A')) != (field.size > 0))
        throw Exception(QStringLiteral("Nur Textfelder haben eine Größe: ") + entry);
    return field;
}

QList<FieldSpec> parseFields(const QString &text)
{
    QList<FieldSpec> fields;
    for (const QString &entry : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        fields << parseField(entry);
    return fields;
}

IndexSpec parseIndex(const QString &text, bool caseInsensitive)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    IndexSpec index;
    index.name = text.left(colon).trimmed();
    for (const QString &field : text.mid(colon + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        index.fields << field.trimmed();
    index.caseInsensitive = caseInsensitive;
    return index;
}

}
