#pragma once

#include <QFont>
#include <QString>

class TField;

// How the grid shows and takes numbers: a number is never shown as another
// number, and a number typed as the grid shows it is taken.
namespace gridnumbers {

// Whole numbers and numbers with decimals; dates and texts are not.
bool isNumberField(const TField *field);

// The typed text without its thousands points where they group the digits
// before the decimal comma ("1.234,5", "12.345.678"); any other text is
// returned as typed, so a point that groups nothing ("1.2") is refused by
// the field as before instead of being guessed at.
QString withoutGroupingMarks(const QString &text);

// A number as a cell of the given text width shows it: the font made
// smaller when the number is too wide for it, and "###" in the cell's own
// font when even the smallest readable size is too wide.
struct CellNumber
{
    QFont font;
    QString text;
};
CellNumber fitNumber(const QFont &font, const QString &text, int width);

}
