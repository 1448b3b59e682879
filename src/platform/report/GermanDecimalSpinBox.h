#pragma once

#include <QDoubleSpinBox>

namespace report {

// A number box in German form that takes a typed point as the decimal
// comma. German numbers group thousands with a point, so Qt's own box reads
// "1.5" as 15; nobody types a thousands point into a measure of the
// designer, and a value ten times the one meant goes unnoticed on the page.
// The point turns into a comma as it is typed, so the box shows what it
// reads.
class GermanDecimalSpinBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit GermanDecimalSpinBox(QWidget *parent = nullptr);

    QValidator::State validate(QString &input, int &pos) const override;
    double valueFromText(const QString &text) const override;
};

} // namespace report
