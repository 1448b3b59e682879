#pragma once

#include <QString>
#include <QStringList>

// The address check of the e-mail tab, the template editor and the sending
// roads. An address list holds addresses separated by ";" or ",".

// Fills `addresses` with the single addresses of the text (";" read as ",",
// blanks and quotation marks removed) and returns true when every one of
// them is valid; an empty text gives an empty list and true.
bool CheckAddressList(const QString &text, QStringList &addresses);

// True when the single address is not a usable e-mail address: empty, with a
// blank, umlaut, "ß", bracket, parenthesis or colon, without exactly one at
// sign inside it, or with a domain shorter than two characters or without a
// point inside its first part.
bool IsInvalidAddress(const QString &address);
