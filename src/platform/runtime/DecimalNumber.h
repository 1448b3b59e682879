#pragma once

#include <QString>

// A double as the decimal text the user sees: at most 15 significant
// digits, value = 0.<digits> * 10^exponent. All decimal rounding (RoundTo,
// Format, FormatFloat) works on this text, so 2.675 rounds to 2.68 although
// its binary value lies just below.
class DecimalNumber
{
public:
    static constexpr int Precision = 15;

    explicit DecimalNumber(double value, int significantDigits = Precision);

    bool isZero() const { return m_digits.isEmpty(); }
    bool isNegative() const { return m_negative && !isZero(); }
    int exponent() const { return m_exponent; }
    const QString &digits() const { return m_digits; }

    // Half away from zero; negative decimals round to tens, hundreds, ...
    DecimalNumber roundedTo(int decimals) const;
    DecimalNumber shifted(int powerOfTen) const;
    double toDouble() const;

    // Digits before the decimal point, "" below one.
    QString integerDigits() const;
    // Exactly count digits after the decimal point.
    QString fractionDigits(int count) const;
    // The magnitude rounded to the decimals; a null thousands separator
    // leaves the digits ungrouped.
    QString fixedText(int decimals, QChar point, QChar thousands) const;

private:
    DecimalNumber() = default;
    void normalise();

    bool m_negative = false;
    QString m_digits;
    int m_exponent = 0;
};
