#include "demo/tables/Ean.h"

#include "platform/runtime/Exceptions.h"

namespace demo {

static bool allDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

int ean13CheckDigit(const QString &twelveDigits)
{
    if (twelveDigits.size() != 12 || !allDigits(twelveDigits))
        throw Exception(QStringLiteral("EAN-Nummer braucht zwölf Ziffern: ") + twelveDigits);
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += twelveDigits.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return (10 - sum % 10) % 10;
}

QString ean13(const QString &twelveDigits)
{
    return twelveDigits + QString::number(ean13CheckDigit(twelveDigits));
}

bool isValidEan13(const QString &code)
{
    return code.size() == 13 && allDigits(code) && ean13CheckDigit(code.left(12)) == code.at(12).digitValue();
}

}
