#include "platform/report/GermanDecimalSpinBox.h"

namespace report {
namespace {

QString withDecimalComma(QString text)
{
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

GermanDecimalSpinBox::GermanDecimalSpinBox(QWidget *parent) : QDoubleSpinBox(parent)
{
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    setLocale(german);
}

QValidator::State GermanDecimalSpinBox::validate(QString &input, int &pos) const
{
    input = withDecimalComma(input);
    return QDoubleSpinBox::validate(input, pos);
}

double GermanDecimalSpinBox::valueFromText(const QString &text) const
{
    return QDoubleSpinBox::valueFromText(withDecimalComma(text));
}

} // namespace report
