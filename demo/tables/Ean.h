#pragma once

#include <QString>

namespace demo {

// The EAN-13 check digit of twelve digits (weights 1 and 3 from the left).
int ean13CheckDigit(const QString &twelveDigits);

// Twelve digits followed by their check digit.
QString ean13(const QString &twelveDigits);

bool isValidEan13(const QString &code);

}
