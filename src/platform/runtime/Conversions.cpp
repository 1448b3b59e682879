#include "platform/runtime/Conversions.h"

#include "platform/runtime/ConvertOrRaise.h"

#include "platform/runtime/DecimalNumber.h"
#include "platform/runtime/FormatSettings.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

int skipDigits(const QString &text, int pos)
{
    while (pos < text.size() && text[pos].isDigit() && text[pos].unicode() < 128)
        ++pos;
    return pos;
}

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

int hexPrefixLength(const QString &text, int pos)
{
    if (text.mid(pos, 1) == QLatin1String("$"))
        return 1;
    if (text.mid(pos, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0)
        return 2;
    return 0;
}

// Leading blanks, a sign, decimal digits or "$"/"0x" hex digits, nothing
// after them: the framework's integer syntax.
bool parseInteger(const QString &text, qint64 &value)
{
    int pos = 0;
    while (pos < text.size() && text[pos] == QLatin1Char(' '))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+')))
        negative = text[pos++] == QLatin1Char('-');
    const int prefix = hexPrefixLength(text, pos);
    const int base = prefix ? 16 : 10;
    pos += prefix;
    if (pos >= text.size())
        return false;
    quint64 magnitude = 0;
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
    for (; pos < text.size(); ++pos) {
        const int digit = hexDigit(text[pos]);
        if (digit < 0 || digit >= base)
            return false;
        if (magnitude > (limit - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    value = negative ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

} // namespace

bool TryStrToInt64(const QString &text, qint64 &value)
{
    return parseInteger(text, value);
}

bool TryStrToInt(const QString &text, int &value)
{
    qint64 wide = 0;
    if (!parseInteger(text, wide) || wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(wide);
    return true;
}

int StrToInt(const QString &text)
{
    return ConvertOrRaise<int>(text, TryStrToInt, "ist kein gültiger Integerwert");
}

int StrToIntDef(const QString &text, int defaultValue)
{
    return ConvertOrDefault<int>(text, TryStrToInt, defaultValue);
}

qint64 StrToInt64(const QString &text)
{
    return ConvertOrRaise<qint64>(text, TryStrToInt64, "ist kein gültiger Integerwert");
}

bool TryStrToFloat(const QString &text, double &value)
{
    const QString t = text.trimmed();
    int pos = 0;
    if (pos < t.size() && (t[pos] == QLatin1Char('-') || t[pos] == QLatin1Char('+')))
        ++pos;
    const int intStart = pos;
    pos = skipDigits(t, pos);
    QString cText = t.left(pos);
    int digitCount = pos - intStart;
    if (pos < t.size() && t[pos] == FormatSettings().DecimalSeparator) {
        const int fracStart = ++pos;
        pos = skipDigits(t, pos);
        digitCount += pos - fracStart;
        cText += QLatin1Char('.') + t.mid(fracStart, pos - fracStart);
    }
    if (digitCount == 0)
        return false;
    if (pos < t.size() && (t[pos] == QLatin1Char('e') || t[pos] == QLatin1Char('E'))) {
        int expPos = pos + 1;
        if (expPos < t.size() && (t[expPos] == QLatin1Char('-') || t[expPos] == QLatin1Char('+')))
            ++expPos;
        const int expEnd = skipDigits(t, expPos);
        if (expEnd == expPos)
            return false;
        cText += QLatin1Char('e') + t.mid(pos + 1, expEnd - pos - 1);
        pos = expEnd;
    }
    if (pos != t.size())
        return false;
    const double parsed = std::strtod(cText.toLatin1().constData(), nullptr);
    if (!std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

double StrToFloat(const QString &text)
{
    return ConvertOrRaise<double>(text, TryStrToFloat, "ist kein gültiger Gleitkommawert");
}

double StrToFloatDef(const QString &text, double defaultValue)
{
    return ConvertOrDefault<double>(text, TryStrToFloat, defaultValue);
}

QString IntToStr(qint64 value)
{
    return QString::number(value);
}

namespace {

// Amounts, prices and quantities have few decimals. When the value is the
// double nearest to an integer of at most 15 digits over a small power of
// ten, that quotient is exactly what 15 significant digits print (15-digit
// decimals survive the trip through a double), so no digit string is made.
bool formatShortDecimal(double value, QString &text)
{
    static constexpr double powers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e14))
        return false;
    for (int decimals = 0; decimals < int(std::size(powers)); ++decimals) {
        const double scaled = std::round(magnitude * powers[decimals]);
        if (scaled >= 1e15 || scaled / powers[decimals] != magnitude)
            continue;
        const qint64 digits = qint64(scaled);
        const qint64 unit = qint64(powers[decimals]);
        text = value < 0 ? QStringLiteral("-") : QString();
        text += QString::number(digits / unit);
        if (decimals > 0)
            text += FormatSettings().DecimalSeparator
                    + QString::number(digits % unit).rightJustified(decimals, QLatin1Char('0'));
        return true;
    }
    return false;
}

}

QString FloatToStrPrecision(double value, int precision)
{
    QString shortText;
    if (precision == DecimalNumber::Precision && formatShortDecimal(value, shortText))
        return shortText;
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const DecimalNumber number(value, precision);
    if (number.isZero())
        return QStringLiteral("0");
    const QString sign = number.isNegative() ? QStringLiteral("-") : QString();
    const QChar point = FormatSettings().DecimalSeparator;
    const QString &digits = number.digits();
    if (number.exponent() > precision || number.exponent() < -3) {
        QString mantissa = digits.left(1);
        if (digits.size() > 1)
            mantissa += point + digits.mid(1);
        return sign + mantissa + QLatin1Char('E') + QString::number(number.exponent() - 1);
    }
    QString integer = number.integerDigits();
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    const int decimals = qMax(0, int(digits.size()) - number.exponent());
    if (decimals == 0)
        return sign + integer;
    return sign + integer + point + number.fractionDigits(decimals);
}

QString FloatToStr(double value)
{
    return FloatToStrPrecision(value, DecimalNumber::Precision);
}

double RoundTo(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    return DecimalNumber(value).roundedTo(decimals).toDouble();
}

namespace runtime {

bool fitsInt64(double value)
{
    // 2^63 is exact as a double; every double below it converts without overflow.
    constexpr double limit = 9223372036854775808.0;
    return value >= -limit && value < limit;
}

}
