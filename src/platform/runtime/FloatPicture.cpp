#include "platform/runtime/FloatPicture.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/DecimalNumber.h"
#include "platform/runtime/FormatSettings.h"

#include <cmath>

namespace {

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// Index just past the quoted text starting at pos.
int skipQuoted(const QString &text, int pos)
{
    const int close = text.indexOf(text[pos], pos + 1);
    return close < 0 ? text.size() : close + 1;
}

QStringList splitSections(const QString &format)
{
    QStringList sections;
    int start = 0;
    for (int pos = 0; pos < format.size();) {
        if (isQuote(format[pos])) {
            pos = skipQuoted(format, pos);
        } else if (format[pos] == QLatin1Char(';')) {
            sections << format.mid(start, pos - start);
            start = ++pos;
        } else {
            ++pos;
        }
    }
    sections << format.mid(start);
    return sections;
}

bool isExponentAt(const QString &text, int pos)
{
    return (text[pos] == QLatin1Char('E') || text[pos] == QLatin1Char('e')) && pos + 1 < text.size()
           && (text[pos + 1] == QLatin1Char('+') || text[pos + 1] == QLatin1Char('-'));
}

struct Picture
{
    QString text;
    int integerPlaces = 0;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool thousands = false;
    int exponentAt = -1;
    int exponentDigits = 0;
};

Picture analyse(const QString &section)
{
    Picture picture;
    picture.text = section;
    int firstZero = -1;
    bool afterPoint = false;
    for (int pos = 0; pos < section.size();) {
        const QChar c = section[pos];
        if (isQuote(c)) {
            pos = skipQuoted(section, pos);
            continue;
        }
        if (isExponentAt(section, pos) && picture.exponentAt < 0) {
            picture.exponentAt = pos;
            pos += 2;
            while (pos < section.size() && section[pos] == QLatin1Char('0')) {
                ++picture.exponentDigits;
                ++pos;
            }
            continue;
        }
        if (picture.exponentAt < 0 && (c == QLatin1Char('0') || c == QLatin1Char('#'))) {
            if (afterPoint) {
                ++picture.maxDecimals;
                if (c == QLatin1Char('0'))
                    picture.minDecimals = picture.maxDecimals;
            } else {
                if (c == QLatin1Char('0') && firstZero < 0)
                    firstZero = picture.integerPlaces;
                ++picture.integerPlaces;
            }
        } else if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (c == QLatin1Char(',') && !afterPoint) {
            picture.thousands = true;
        }
        ++pos;
    }
    if (firstZero >= 0)
        picture.minIntegerDigits = picture.integerPlaces - firstZero;
    return picture;
}

// Writes the digits into the picture's places, place by place.
class PictureWriter
{
public:
    PictureWriter(const Picture &picture, const DecimalNumber &rounded, int exponent)
        : m_picture(picture), m_exponent(exponent)
    {
        m_integer = rounded.integerDigits();
        if (m_integer.size() < picture.minIntegerDigits)
            m_integer = m_integer.rightJustified(picture.minIntegerDigits, QLatin1Char('0'));
        m_fraction = rounded.fractionDigits(picture.maxDecimals);
        while (m_fraction.size() > picture.minDecimals && m_fraction.endsWith(QLatin1Char('0')))
            m_fraction.chop(1);
    }

    QString write()
    {
        const QString &text = m_picture.text;
        for (int pos = 0; pos < text.size();) {
            const QChar c = text[pos];
            if (isQuote(c)) {
                const int end = skipQuoted(text, pos);
                const bool closed = end - pos > 1 && text[end - 1] == c;
                m_out += text.mid(pos + 1, end - pos - (closed ? 2 : 1));
                pos = end;
            } else if (pos == m_picture.exponentAt) {
                pos = writeExponent(pos);
            } else {
                writePlace(c);
                ++pos;
            }
        }
        return m_out;
    }

private:
    void writeIntegerDigit(int positionFromRight)
    {
        m_out += m_integer[m_integer.size() - positionFromRight];
        if (m_picture.thousands && positionFromRight > 1 && (positionFromRight - 1) % 3 == 0)
            m_out += FormatSettings().ThousandSeparator;
    }

    void writeIntegerPlace()
    {
        if (m_integerPlace == 0) {
            for (int p = m_integer.size(); p > m_picture.integerPlaces; --p)
                writeIntegerDigit(p);
        }
        const int position = m_picture.integerPlaces - m_integerPlace++;
        if (position <= m_integer.size())
            writeIntegerDigit(position);
    }

    void writePoint()
    {
        if (m_picture.integerPlaces == 0) {
            for (int p = m_integer.size(); p > 0; --p)
                writeIntegerDigit(p);
        }
        if (!m_fraction.isEmpty())
            m_out += FormatSettings().DecimalSeparator;
    }

    void writePlace(QChar c)
    {
        const bool digitPlace = c == QLatin1Char('0') || c == QLatin1Char('#');
        if (digitPlace && !m_afterPoint) {
            writeIntegerPlace();
        } else if (digitPlace) {
            if (m_fractionPlace < m_fraction.size())
                m_out += m_fraction[m_fractionPlace];
            ++m_fractionPlace;
        } else if (c == QLatin1Char('.') && !m_afterPoint) {
            m_afterPoint = true;
            writePoint();
        } else if (c != QLatin1Char(',')) {
            m_out += c;
        }
    }

    int writeExponent(int pos)
    {
        const QString &text = m_picture.text;
        m_out += text[pos];
        if (m_exponent < 0)
            m_out += QLatin1Char('-');
        else if (text[pos + 1] == QLatin1Char('+'))
            m_out += QLatin1Char('+');
        m_out += QString::number(std::abs(m_exponent)).rightJustified(m_picture.exponentDigits, QLatin1Char('0'));
        return pos + 2 + m_picture.exponentDigits;
    }

    const Picture &m_picture;
    int m_exponent;
    QString m_integer;
    QString m_fraction;
    QString m_out;
    int m_integerPlace = 0;
    int m_fractionPlace = 0;
    bool m_afterPoint = false;
};

struct Rendered
{
    QString text;
    bool zero;
};

Rendered render(const QString &section, double value)
{
    const Picture picture = analyse(section);
    const DecimalNumber number(value);
    if (picture.exponentAt < 0) {
        const DecimalNumber rounded = number.roundedTo(picture.maxDecimals);
        return {PictureWriter(picture, rounded, 0).write(), rounded.isZero()};
    }
    // Scientific: the mantissa gets as many integer digits as the picture
    // has integer places.
    const int places = qMax(1, picture.integerPlaces);
    int exponent = number.isZero() ? 0 : number.exponent() - places;
    DecimalNumber mantissa = number.shifted(-exponent).roundedTo(picture.maxDecimals);
    if (mantissa.exponent() > places) {
        ++exponent;
        mantissa = number.shifted(-exponent).roundedTo(picture.maxDecimals);
    }
    return {PictureWriter(picture, mantissa, exponent).write(), mantissa.isZero()};
}

QString sectionOr(const QStringList &sections, int index)
{
    if (index < sections.size() && !sections[index].isEmpty())
        return sections[index];
    return sections.first();
}

} // namespace

QString FormatFloat(const QString &format, double value)
{
    if (format.isEmpty() || !std::isfinite(value))
        return FloatToStr(value);
    const QStringList sections = splitSections(format);
    const bool hasNegativeSection = sections.size() > 1 && !sections[1].isEmpty();
    if (value == 0)
        return render(sectionOr(sections, 2), 0).text;
    const bool negative = value < 0;
    const Rendered result = render(sectionOr(sections, negative ? 1 : 0), std::fabs(value));
    // A value that rounds to zero is shown as zero, never as "-0,00".
    if (result.zero)
        return render(sectionOr(sections, 2), 0).text;
    if (negative && !hasNegativeSection)
        return QLatin1Char('-') + result.text;
    return result.text;
}
