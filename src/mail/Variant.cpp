#include "mail/Variant.h"

#include "platform/runtime/Conversions.h"

namespace mail {

Variant::Variant(bool value) : m_type(Type::Boolean), m_boolean(value)
{}

Variant::Variant(int value) : m_type(Type::Integer), m_integer(value)
{}

Variant::Variant(qint64 value) : m_type(Type::Integer), m_integer(value)
{}

Variant::Variant(double value) : m_type(Type::Float), m_number(value)
{}

Variant::Variant(const QString &text) : m_type(Type::Text), m_text(text)
{}

Variant::Variant(const char *text) : m_type(Type::Text), m_text(QString::fromUtf8(text))
{}

Variant Variant::Null()
{
    Variant value;
    value.m_type = Type::Null;
    return value;
}

Variant Variant::Currency(double value)
{
    Variant result(value);
    result.m_type = Type::Currency;
    return result;
}

Variant Variant::Date(TDateTime value)
{
    Variant result(value);
    result.m_type = Type::Date;
    return result;
}

bool Variant::isNumeric() const
{
    return m_type == Type::Integer || m_type == Type::Float || m_type == Type::Currency || m_type == Type::Date
           || m_type == Type::Boolean;
}

double Variant::asNumber() const
{
    switch (m_type) {
    case Type::Boolean:
        return m_boolean ? -1.0 : 0.0;
    case Type::Integer:
        return double(m_integer);
    default:
        return m_number;
    }
}

QString Variant::toText() const
{
    switch (m_type) {
    case Type::Empty:
    case Type::Null:
        return QString();
    case Type::Boolean:
        return m_boolean ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer:
        return IntToStr(m_integer);
    case Type::Float:
    case Type::Currency:
        return FloatToStr(m_number);
    case Type::Date:
        return DateTimeToStr(m_number);
    case Type::Text:
        return m_text;
    }
    return QString();
}

bool Variant::operator==(const Variant &other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Type::Empty:
    case Type::Null:
        return true;
    case Type::Boolean:
        return m_boolean == other.m_boolean;
    case Type::Integer:
        return m_integer == other.m_integer;
    case Type::Text:
        return m_text == other.m_text;
    default:
        return m_number == other.m_number;
    }
}

} // namespace mail
