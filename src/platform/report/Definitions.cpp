#include "platform/report/Definitions.h"

#include "platform/report/api/ReportCodes.h"

#include <algorithm>

namespace report {

Value Definition::value() const
{
    const int base = baseType(type);
    if (base == LL_NUMERIC) {
        double number = 0;
        if (contents.trimmed().isEmpty())
            return Value{};
        return parseDecimal(contents, number) ? Value::fromNumber(number) : Value::fromText(contents);
    }
    if (base == LL_BOOLEAN)
        return Value::fromBool(parseBoolean(contents));
    Value text = Value::fromText(contents);
    if (isBarcodeType(base))
        text.barcodeType = base;
    return text;
}

bool Definition::isPicture() const
{
    return baseType(type) == LL_DRAWING_HBITMAP;
}

bool Definition::headerOnly() const
{
    return (type & LL_TABLE_HEADERFIELD) != 0;
}

bool Definition::footerOnly() const
{
    return (type & LL_TABLE_FOOTERFIELD) != 0;
}

void Definitions::define(const QString &name, const QString &contents, int type)
{
    Definition &d = m_byName[name.toLower()];
    d.name = name;
    d.contents = contents;
    d.type = type;
    d.image = QImage();
}

void Definitions::defineImage(const QString &name, const QImage &image, int type)
{
    Definition &d = m_byName[name.toLower()];
    d.name = name;
    d.contents.clear();
    d.type = type;
    d.image = image;
}

const Definition *Definitions::find(const QString &name) const
{
    const auto it = m_byName.constFind(name.toLower());
    return it == m_byName.constEnd() ? nullptr : &it.value();
}

QList<Definition> Definitions::sorted() const
{
    QList<Definition> all = m_byName.values();
    std::sort(all.begin(), all.end(),
              [](const Definition &a, const Definition &b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
    return all;
}

const Definition *DefinitionScope::lookup(const QString &name) const
{
    if (m_fields) {
        if (const Definition *field = m_fields->find(name))
            return field;
    }
    return m_variables ? m_variables->find(name) : nullptr;
}

}
