#include "platform/report/NumberPicture.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

bool isDigitPlace(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('&');
}

QString fractionText(const QString &digits, const QString &picture)
{
    QString out;
    qsizetype next = 0;
    for (const QChar c : picture) {
        if (c == QLatin1Char('#') || c == QLatin1Char('&'))
            out += next < digits.size() ? digits.at(next++) : QLatin1Char('0');
        else
            out += c;
    }
    return out;
}

// Digits that do not fit the picture stand before it; where the picture
// groups its thousands they are grouped on, so that a large amount still
// reads as one ("1.234.554.321", not "1234.554.321").
QString overflowText(const QString &overflow, const QString &picture)
{
    const qsizetype comma = picture.indexOf(QLatin1Char(','));
    if (comma < 0)
        return overflow;
    const qsizetype room = 3 - std::count_if(picture.begin(), picture.begin() + comma, isDigitPlace);
    if (room < 0)
        return overflow;
    qsizetype left = overflow.size();
    const qsizetype filling = std::min(room, left);
    QString out = overflow.mid(left - filling);
    left -= filling;
    while (left > 0) {
        const qsizetype group = std::min<qsizetype>(3, left);
        out.prepend(QLatin1Char('.'));
        out.prepend(overflow.mid(left - group, group));
        left -= group;
    }
    return out;
}

// Fills the integer part from the right; returns the text and whether the
// minus sign still has to be placed.
QString integerText(QString digits, const QString &picture, bool negative)
{
    if (digits == QLatin1String("0"))
        digits.clear();
    QString out;
    bool signPending = negative;
    qsizetype left = digits.size();
    for (qsizetype i = picture.size() - 1; i >= 0; --i) {
        const QChar c = picture.at(i);
        if (isDigitPlace(c)) {
            if (left > 0)
                out.prepend(digits.at(--left));
            else if (c == QLatin1Char('&'))
                out.prepend(QLatin1Char('0'));
            else if (signPending) {
                out.prepend(QLatin1Char('-'));
                signPending = false;
            } else
                out.prepend(QLatin1Char(' '));
        } else if (c == QLatin1Char(',')) {
            out.prepend(left > 0 ? QLatin1Char('.') : QLatin1Char(' '));
        } else {
            out.prepend(c);
        }
    }
    if (left > 0)
        out.prepend(overflowText(digits.left(left), picture));
    if (signPending) {
        const qsizetype firstNonBlank =
            out.size() - QString(out).remove(QRegularExpression(QStringLiteral("^ +"))).size();
        if (firstNonBlank > 0)
            out[firstNonBlank - 1] = QLatin1Char('-');
        else
            out.prepend(QLatin1Char('-'));
    }
    return out;
}

}

double roundDecimal(double value, int decimals)
{
    // Counts outside what a double carries would index before the text or
    // ask for digits that are not there.
    decimals = std::clamp(decimals, 0, 15);
    if (!std::isfinite(value))
        return value;
    // The decimal text of the value decides, so 2.675 rounds up as written.
    const QString text = QString::number(std::fabs(value), 'f', std::min(decimals + 6, 15));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    QString kept = point < 0 ? text : text.left(point + 1 + decimals);
    const bool up =
        point >= 0 && point + 1 + decimals < text.size() && text.at(point + 1 + decimals) >= QLatin1Char('5');
    double result = kept.toDouble();
    if (up)
        result += std::pow(10.0, -decimals);
    return value < 0 ? -result : result;
}

QString formatPicture(double value, const QString &picture)
{
    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    const QString intPicture = point < 0 ? picture : picture.left(point);
    const QString fracPicture = point < 0 ? QString() : picture.mid(point + 1);
    const int decimals = int(fracPicture.count(QLatin1Char('#')) + fracPicture.count(QLatin1Char('&')));
    const double rounded = roundDecimal(value, decimals);
    const QString digits = QString::number(std::fabs(rounded), 'f', decimals);
    const qsizetype dot = digits.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? digits : digits.left(dot);
    const QString fraction = dot < 0 ? QString() : digits.mid(dot + 1);
    const bool negative = rounded < 0;
    QString out = integerText(whole, intPicture, negative);
    if (point >= 0)
        out += QLatin1Char(',') + fractionText(fraction, fracPicture);
    return out;
}

}
