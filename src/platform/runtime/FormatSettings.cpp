#include "platform/runtime/FormatSettings.h"

TFormatSettings::TFormatSettings()
    : ShortMonthNames{"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
      LongMonthNames{"Januar",  "Februar",  QStringLiteral("März"),
                     "April",   "Mai",      "Juni",
                     "Juli",    "August",   "September",
                     "Oktober", "November", "Dezember"},
      ShortDayNames{"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}, LongDayNames{"Sonntag",  "Montag",     "Dienstag",
                                                                            "Mittwoch", "Donnerstag", "Freitag",
                                                                            "Samstag"}
{}

TFormatSettings &FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

void ResetFormatSettings()
{
    FormatSettings() = TFormatSettings();
}
