#include "platform/db/TIndexDefs.h"

#include "platform/runtime/Exceptions.h"

QStringList splitFieldList(const QString &fields)
{
    QStringList result;
    for (const QString &part : fields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            result.append(part.trimmed());
    return result;
}

QStringList TIndexDef::fieldList() const
{
    return splitFieldList(Fields);
}

TIndexDefs::TIndexDefs(QObject *owner) : QObject(owner)
{}

void TIndexDefs::Add(const QString &name, const QString &fields, TIndexOptions options)
{
    if (splitFieldList(fields).isEmpty())
        throw EDatabaseError(QStringLiteral("Index '%1' hat keine Felder.").arg(name));
    if (!(options & ixPrimary) && IndexOf(name) >= 0)
        throw EDatabaseError(QStringLiteral("Doppelter Indexname '%1'.").arg(name));
    if ((options & ixPrimary) && Primary())
        throw EDatabaseError(QStringLiteral("Die Tabelle hat bereits einen Primärschlüssel."));
    m_items.append(TIndexDef{name, fields, options});
}

void TIndexDefs::Clear()
{
    m_items.clear();
}

int TIndexDefs::IndexOf(const QString &name) const
{
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const TIndexDef *TIndexDefs::Find(const QString &name) const
{
    const int index = IndexOf(name);
    return index < 0 ? nullptr : &m_items[index];
}

const TIndexDef *TIndexDefs::FindIndexForFields(const QString &fields) const
{
    const QString wanted = splitFieldList(fields).join(QLatin1Char(';'));
    const TIndexDef *prefixMatch = nullptr;
    for (const TIndexDef &def : m_items) {
        const QString own = def.fieldList().join(QLatin1Char(';'));
        if (own.compare(wanted, Qt::CaseInsensitive) == 0)
            return &def;
        if (!prefixMatch && own.startsWith(wanted + QLatin1Char(';'), Qt::CaseInsensitive))
            prefixMatch = &def;
    }
    return prefixMatch;
}

const TIndexDef *TIndexDefs::Primary() const
{
    for (const TIndexDef &def : m_items)
        if (def.Options & ixPrimary)
            return &def;
    return nullptr;
}

void TIndexDefs::Assign(const TIndexDefs &other)
{
    m_items = other.m_items;
}
