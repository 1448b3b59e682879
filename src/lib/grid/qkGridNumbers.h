#pragma once

#include <QFont>
#include <QString>

class TField;

// How the grid shows numbers: a number is never shown as another number.
namespace gridnumbers {

// Whole numbers and numbers with decimals; dates and texts are not.
bool isNumberField(const TField *field);

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
