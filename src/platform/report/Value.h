#pragma once

#include <QString>

namespace report {

// The value of an expression or of a defined name. A number defined with
// empty contents is null and prints empty, but counts as 0 in arithmetic.
struct Value
{
    enum class Kind { Null, Text, Number, Boolean };

    Kind kind = Kind::Null;
    QString text;
    double number = 0;
    bool boolean = false;
    int barcodeType = 0; // set when the value came from a barcode definition

    static Value fromText(const QString &text);
    static Value fromNumber(double number);
    static Value fromBool(bool value);

    bool isNull() const { return kind == Kind::Null; }
    QString toText() const;
    double toNumber() const;
    bool toBool() const;
};

// "1.234,56" (a comma present: German decimal comma, "." groups) or
// "1234.56"; false when the text is no number.
bool parseDecimal(const QString &text, double &out);

// Shortest text of the number with the German decimal comma.
QString formatGeneral(double number);

// "true"/"false", "T"/"F", "1"/"0", "J"/"N" in any case.
bool parseBoolean(const QString &text);

}
