#include "platform/runtime/DecimalNumber.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

DecimalNumber::DecimalNumber(double value, int significantDigits)
{
    m_negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value))
        return;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, std::fabs(value));
    const QString text = QString::fromLatin1(buffer);
    const int e = text.indexOf(QLatin1Char('e'));
    m_digits = text.left(e).remove(QLatin1Char('.'));
    m_exponent = text.mid(e + 1).toInt() + 1;
    normalise();
}

void DecimalNumber::normalise()
{
    while (m_digits.endsWith(QLatin1Char('0')))
        m_digits.chop(1);
    while (m_digits.startsWith(QLatin1Char('0'))) {
        m_digits.remove(0, 1);
        --m_exponent;
    }
    if (m_digits.isEmpty())
        m_exponent = 0;
}

DecimalNumber DecimalNumber::roundedTo(int decimals) const
{
    const int keep = m_exponent + decimals;
    if (keep >= m_digits.size())
        return *this;
    DecimalNumber result;
    result.m_negative = m_negative;
    if (keep < 0)
        return result;
    const bool roundUp = m_digits[keep] >= QLatin1Char('5');
    result.m_digits = QLatin1Char('0') + m_digits.left(keep);
    result.m_exponent = m_exponent + 1;
    for (int i = keep; roundUp && i >= 0; --i) {
        if (result.m_digits[i] == QLatin1Char('9')) {
            result.m_digits[i] = QLatin1Char('0');
            continue;
        }
        result.m_digits[i] = QChar(result.m_digits[i].unicode() + 1);
        break;
    }
    result.normalise();
    return result;
}

DecimalNumber DecimalNumber::shifted(int powerOfTen) const
{
    DecimalNumber result = *this;
    if (!isZero())
        result.m_exponent += powerOfTen;
    return result;
}

double DecimalNumber::toDouble() const
{
    if (isZero())
        return 0.0;
    const QByteArray text = QStringLiteral("%1.%2e%3")
                                .arg(m_negative ? QStringLiteral("-0") : QStringLiteral("0"), m_digits)
                                .arg(m_exponent)
                                .toLatin1();
    return std::strtod(text.constData(), nullptr);
}

QString DecimalNumber::integerDigits() const
{
    if (m_exponent <= 0)
        return QString();
    return m_digits.left(m_exponent).leftJustified(m_exponent, QLatin1Char('0'));
}

QString DecimalNumber::fractionDigits(int count) const
{
    QString result(count, QLatin1Char('0'));
    for (int i = 0; i < count; ++i) {
        const int index = m_exponent + i;
        if (index >= 0 && index < m_digits.size())
            result[i] = m_digits[index];
    }
    return result;
}

QString DecimalNumber::fixedText(int decimals, QChar point, QChar thousands) const
{
    const DecimalNumber rounded = roundedTo(decimals);
    QString integer = rounded.integerDigits();
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    if (!thousands.isNull()) {
        for (int i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, thousands);
    }
    if (decimals <= 0)
        return integer;
    return integer + point + rounded.fractionDigits(decimals);
}
