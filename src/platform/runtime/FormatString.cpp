#include "platform/runtime/FormatString.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/DecimalNumber.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"

#include <QMetaType>

#include <climits>
#include <cmath>

namespace {

struct Spec
{
    bool leftAligned = false;
    int width = -1;
    int precision = -1;
    QChar type;
};

class Formatter
{
public:
    Formatter(const QString &format, const QVariantList &args) : m_format(format), m_args(args) {}

    QString run()
    {
        while (m_pos < m_format.size()) {
            const QChar c = m_format[m_pos++];
            if (c != QLatin1Char('%'))
                m_out += c;
            else if (peek() == QLatin1Char('%'))
                m_out += m_format[m_pos++];
            else
                m_out += pad(formatOne(readSpec()));
        }
        return m_out;
    }

private:
    [[noreturn]] void fail() const
    {
        throw EConvertError(QStringLiteral("Format '%1' ungültig oder nicht kompatibel mit Argument").arg(m_format));
    }

    QChar peek() const { return m_pos < m_format.size() ? m_format[m_pos] : QChar(); }

    const QVariant &nextArg()
    {
        if (m_argIndex >= m_args.size())
            fail();
        return m_args[m_argIndex++];
    }

    // A number, "*" (taken from the arguments) or nothing (-1).
    int readNumber()
    {
        if (peek() == QLatin1Char('*')) {
            ++m_pos;
            return static_cast<int>(integerArg());
        }
        int start = m_pos;
        while (peek().isDigit())
            ++m_pos;
        return m_pos == start ? -1 : m_format.mid(start, m_pos - start).toInt();
    }

    Spec readSpec()
    {
        Spec spec;
        int number = readNumber();
        if (peek() == QLatin1Char(':')) {
            ++m_pos;
            m_argIndex = qMax(number, 0);
            number = -1;
        }
        if (number < 0 && peek() == QLatin1Char('-')) {
            ++m_pos;
            spec.leftAligned = true;
        }
        spec.width = number >= 0 ? number : readNumber();
        if (peek() == QLatin1Char('.')) {
            ++m_pos;
            spec.precision = readNumber();
        }
        spec.type = peek().toLower();
        if (spec.type.isNull())
            fail();
        ++m_pos;
        m_spec = spec;
        return spec;
    }

    qint64 integerArg()
    {
        const QVariant &arg = nextArg();
        switch (arg.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return arg.toLongLong();
        default:
            fail();
        }
    }

    double floatArg()
    {
        const QVariant &arg = nextArg();
        bool ok = false;
        const double value = arg.toDouble(&ok);
        if (!ok || arg.typeId() == QMetaType::QString || arg.typeId() == QMetaType::Bool)
            fail();
        return value;
    }

    QString integerText(qint64 value, int base)
    {
        QString digits = QString::number(value < 0 ? -quint64(value) : quint64(value), base).toUpper();
        if (m_spec.precision > digits.size())
            digits = digits.rightJustified(m_spec.precision, QLatin1Char('0'));
        return value < 0 ? QLatin1Char('-') + digits : digits;
    }

    QString fixedText(double value, int defaultDecimals, bool grouped)
    {
        const int decimals = m_spec.precision >= 0 ? m_spec.precision : defaultDecimals;
        const TFormatSettings &fs = FormatSettings();
        const DecimalNumber number(value);
        const QString magnitude =
            number.fixedText(decimals, fs.DecimalSeparator, grouped ? fs.ThousandSeparator : QChar());
        const bool negative = number.isNegative() && !number.roundedTo(decimals).isZero();
        return negative ? QLatin1Char('-') + magnitude : magnitude;
    }

    QString currencyText(double value)
    {
        const TFormatSettings &fs = FormatSettings();
        const int decimals = m_spec.precision >= 0 ? m_spec.precision : fs.CurrencyDecimals;
        const DecimalNumber number(value);
        const QString amount = number.fixedText(decimals, fs.DecimalSeparator, fs.ThousandSeparator);
        static const char *const positive[] = {"$1", "1$", "$ 1", "1 $"};
        static const char *const negative[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                                               "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
        const bool isNegative = number.isNegative() && !number.roundedTo(decimals).isZero();
        const QString pattern = QString::fromLatin1(isNegative ? negative[qBound(0, fs.NegCurrFormat, 15)]
                                                               : positive[qBound(0, fs.CurrencyFormat, 3)]);
        QString result;
        for (QChar c : pattern) {
            if (c == QLatin1Char('$'))
                result += fs.CurrencyString;
            else if (c == QLatin1Char('1'))
                result += amount;
            else
                result += c;
        }
        return result;
    }

    QString scientificText(double value)
    {
        const int digits = qBound(1, m_spec.precision >= 0 ? m_spec.precision : 15, 18);
        const DecimalNumber number(value, digits);
        if (!std::isfinite(value))
            return FloatToStr(value);
        const int exponent = number.isZero() ? 0 : number.exponent() - 1;
        const QString mantissa =
            number.shifted(-exponent).fixedText(digits - 1, FormatSettings().DecimalSeparator, QChar());
        const QString exponentText = QString::number(std::abs(exponent)).rightJustified(3, QLatin1Char('0'));
        return (number.isNegative() ? QStringLiteral("-") : QString()) + mantissa + QLatin1Char('E')
               + (exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) + exponentText;
    }

    QString formatOne(const Spec &spec)
    {
        switch (spec.type.unicode()) {
        case 'd':
            return integerText(integerArg(), 10);
        case 'u':
            return integerText(qint64(quint32(integerArg())), 10);
        case 'x': {
            // Negative integers show their 32-bit pattern, as the framework's do.
            const qint64 value = integerArg();
            return integerText(value < 0 && value >= INT_MIN ? qint64(quint32(value)) : value, 16);
        }
        case 'f':
            return fixedText(floatArg(), 2, false);
        case 'n':
            return fixedText(floatArg(), 2, true);
        case 'm':
            return currencyText(floatArg());
        case 'e':
            return scientificText(floatArg());
        case 'g':
            return FloatToStrPrecision(floatArg(), spec.precision > 0 ? spec.precision : 15);
        case 's': {
            const QString text = nextArg().toString();
            return spec.precision >= 0 ? text.left(spec.precision) : text;
        }
        default:
            fail();
        }
    }

    QString pad(const QString &text) const
    {
        if (m_spec.leftAligned)
            return text.leftJustified(m_spec.width, QLatin1Char(' '));
        return text.rightJustified(m_spec.width, QLatin1Char(' '));
    }

    const QString &m_format;
    const QVariantList &m_args;
    Spec m_spec;
    QString m_out;
    int m_pos = 0;
    qsizetype m_argIndex = 0;
};

} // namespace

QString Format(const QString &format, const QVariantList &args)
{
    return Formatter(format, args).run();
}
