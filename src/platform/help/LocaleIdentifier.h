#pragma once

#include <QLocale>

// The Windows locale identifier of a locale, as the help trace reports the
// system's locale: primary language in the low 10 bits, sub-language
// above. Languages without an identifier here give 0 (neutral).
namespace help {

struct LocaleIdentifier
{
    int lcid;
    int primaryLanguage;
    int subLanguage;
};

LocaleIdentifier localeIdentifier(const QLocale &locale);

} // namespace help
