#include "platform/report/Value.h"

#include <QRegularExpression>

#include <cmath>

namespace report {

Value Value::fromText(const QString &text)
{
    Value v;
    v.kind = Kind::Text;
    v.text = text;
    return v;
}

Value Value::fromNumber(double number)
{
    Value v;
    v.kind = Kind::Number;
    v.number = number;
    return v;
}

Value Value::fromBool(bool value)
{
    Value v;
    v.kind = Kind::Boolean;
    v.boolean = value;
    return v;
}

QString Value::toText() const
{
    switch (kind) {
    case Kind::Text:
        return text;
    case Kind::Number:
        return formatGeneral(number);
    case Kind::Boolean:
        return boolean ? QStringLiteral("Ja") : QStringLiteral("Nein");
    case Kind::Null:
        break;
    }
    return {};
}

double Value::toNumber() const
{
    switch (kind) {
    case Kind::Number:
        return number;
    case Kind::Boolean:
        return boolean ? 1 : 0;
    case Kind::Text: {
        double parsed = 0;
        return parseDecimal(text, parsed) ? parsed : 0;
    }
    case Kind::Null:
        break;
    }
    return 0;
}

bool Value::toBool() const
{
    switch (kind) {
    case Kind::Boolean:
        return boolean;
    case Kind::Number:
        return number != 0;
    case Kind::Text:
        return parseBoolean(text);
    case Kind::Null:
        break;
    }
    return false;
}

bool parseDecimal(const QString &text, double &out)
{
    QString normal = text.trimmed();
    if (normal.contains(QLatin1Char(','))) {
        normal.remove(QLatin1Char('.'));
        normal.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    bool ok = false;
    out = normal.toDouble(&ok);
    return ok && std::isfinite(out);
}

QString formatGeneral(double number)
{
    if (number == 0)
        return QStringLiteral("0");
    QString text = QString::number(number, 'g', 15);
    if (text.contains(QLatin1Char('e')))
        text = QString::number(number, 'f', 6).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

bool parseBoolean(const QString &text)
{
    const QString t = text.trimmed().toUpper();
    return t == QLatin1String("TRUE") || t == QLatin1String("T") || t == QLatin1String("1") || t == QLatin1String("J")
           || t == QLatin1String("JA");
}

}
