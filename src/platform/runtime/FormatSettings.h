#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The framework's regional settings with the German defaults the suite
// runs under; conversions read these, never the machine's locale.
struct TFormatSettings
{
    QChar DecimalSeparator{','};
    QChar ThousandSeparator{'.'};
    QChar DateSeparator{'.'};
    QChar TimeSeparator{':'};
    QString ShortDateFormat{"dd.mm.yyyy"};
    QString LongDateFormat{"dddd, d. mmmm yyyy"};
    QString ShortTimeFormat{"hh:nn"};
    QString LongTimeFormat{"hh:nn:ss"};
    QString TimeAMString;
    QString TimePMString;
    QString CurrencyString{QStringLiteral("€")};
    // Positive currency pattern 0..3 and negative 0..15 as the framework
    // numbers them; 3 and 8 give "1.234,50 €" and "-1.234,50 €".
    int CurrencyFormat{3};
    int NegCurrFormat{8};
    int CurrencyDecimals{2};
    QStringList ShortMonthNames;
    QStringList LongMonthNames;
    QStringList ShortDayNames;
    QStringList LongDayNames;
    int TwoDigitYearCenturyWindow{50};

    TFormatSettings();
};

TFormatSettings &FormatSettings();
void ResetFormatSettings();
