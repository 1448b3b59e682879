#pragma once

#include "platform/runtime/DateTime.h"

#include <QString>

namespace mail {

// The value type of the template language: the framework's Variant with the
// kinds the templates meet. Currency and dates are kept apart from plain
// floating point because they print and calculate differently.
class Variant
{
public:
    enum class Type { Empty, Null, Boolean, Integer, Float, Currency, Date, Text };

    Variant() = default;
    Variant(bool value);
    Variant(int value);
    Variant(qint64 value);
    Variant(double value);
    Variant(const QString &text);
    Variant(const char *text);

    static Variant Null();
    static Variant Currency(double value);
    static Variant Date(TDateTime value);

    Type type() const { return m_type; }
    bool isText() const { return m_type == Type::Text; }
    bool isNumeric() const;

    bool asBoolean() const { return m_boolean; }
    qint64 asInteger() const { return m_integer; }
    double asNumber() const;
    const QString &asText() const { return m_text; }

    // The framework's conversion to text (dates with the short date format,
    // Booleans as "True"/"False", empty and null as the empty text).
    QString toText() const;

    bool operator==(const Variant &other) const;

private:
    Type m_type = Type::Empty;
    bool m_boolean = false;
    qint64 m_integer = 0;
    double m_number = 0.0;
    QString m_text;
};

} // namespace mail
