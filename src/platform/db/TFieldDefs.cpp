#include "platform/db/TFieldDefs.h"

#include "platform/db/TTable.h"
#include "platform/runtime/Exceptions.h"

TFieldDefs::TFieldDefs(TTable *table) : m_table(table)
{}

void TFieldDefs::Update()
{
    if (m_table)
        m_table->InitFieldDefs();
}

void TFieldDefs::Add(const QString &name, TFieldType dataType, int size, bool required)
{
    if (name.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("Feldname fehlt."));
    if (IndexOf(name) >= 0)
        throw EDatabaseError(QStringLiteral("Doppelter Feldname '%1'.").arg(name));
    m_items.append(TFieldDef{name, dataType, size, required});
}

TFieldType FieldTypeFromParadox(QChar letter)
{
    switch (letter.toUpper().unicode()) {
    case 'A':
        return ftString;
    case 'N':
        return ftFloat;
    case '$':
        return ftCurrency;
    case 'S':
        return ftSmallint;
    case 'I':
        return ftInteger;
    case '+':
        return ftAutoInc;
    case '#':
        return ftBCD;
    case 'L':
        return ftBoolean;
    case 'D':
        return ftDate;
    case 'T':
        return ftTime;
    case '@':
        return ftDateTime;
    case 'M':
        return ftMemo;
    case 'F':
        return ftFmtMemo;
    case 'B':
        return ftBlob;
    case 'G':
        return ftGraphic;
    case 'O':
        return ftParadoxOle;
    case 'Y':
        return ftBytes;
    default:
        throw EDatabaseError(QStringLiteral("Unbekannter Feldtyp '%1'.").arg(letter));
    }
}

void TFieldDefs::AddParadox(const QString &name, const QString &typeText, bool required)
{
    const QString letters = typeText.trimmed();
    if (letters.isEmpty())
        throw EDatabaseError(QStringLiteral("Feldtyp für '%1' fehlt.").arg(name));
    int size = 0;
    if (letters.size() > 1) {
        bool ok = false;
        size = letters.mid(1).toInt(&ok);
        if (!ok || size < 0)
            throw EDatabaseError(QStringLiteral("Ungültige Feldgröße '%1' für '%2'.").arg(letters, name));
    }
    const TFieldType type = FieldTypeFromParadox(letters.at(0));
    if (type == ftString && (size < 1 || size > 255))
        throw EDatabaseError(QStringLiteral("Ungültige Feldgröße '%1' für '%2'.").arg(letters, name));
    Add(name, type, size, required);
}

void TFieldDefs::Clear()
{
    m_items.clear();
}

int TFieldDefs::IndexOf(const QString &name) const
{
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const TFieldDef *TFieldDefs::Find(const QString &name) const
{
    const int index = IndexOf(name);
    return index < 0 ? nullptr : &m_items[index];
}

void TFieldDefs::Assign(const TFieldDefs &other)
{
    m_items = other.m_items;
}
