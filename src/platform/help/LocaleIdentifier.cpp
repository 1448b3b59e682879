#include "platform/help/LocaleIdentifier.h"

#include <QHash>

namespace help {

namespace {

int primaryLanguageOf(QLocale::Language language)
{
    static const QHash<QLocale::Language, int> primary{
        {QLocale::German, 0x07},  {QLocale::English, 0x09}, {QLocale::French, 0x0C}, {QLocale::Italian, 0x10},
        {QLocale::Spanish, 0x0A}, {QLocale::Dutch, 0x13},   {QLocale::Polish, 0x15}, {QLocale::Turkish, 0x1F}};
    return primary.value(language, 0);
}

// Sub-language 1 is each language's main country.
int subLanguageOf(QLocale::Language language, QLocale::Territory territory)
{
    static const QHash<QLocale::Territory, int> german{
        {QLocale::Switzerland, 2}, {QLocale::Austria, 3}, {QLocale::Luxembourg, 4}, {QLocale::Liechtenstein, 5}};
    static const QHash<QLocale::Territory, int> english{
        {QLocale::UnitedKingdom, 2}, {QLocale::Australia, 3}, {QLocale::Canada, 4}};
    if (language == QLocale::German)
        return german.value(territory, 1);
    if (language == QLocale::English)
        return english.value(territory, 1);
    return primaryLanguageOf(language) ? 1 : 0;
}

} // namespace

LocaleIdentifier localeIdentifier(const QLocale &locale)
{
    const int primary = primaryLanguageOf(locale.language());
    const int sub = subLanguageOf(locale.language(), locale.territory());
    return {(sub << 10) | primary, primary, sub};
}

} // namespace help
