#pragma once

#include <QByteArray>

class QTextDocument;

namespace rtf {

// Flat rich text in the old control's shape: font table, colour table,
// \pard and the paragraph's properties before every paragraph, character
// properties switched on and off in place, ANSI text with \'hh and \uN
// only for characters Windows-1252 lacks. Opaque groups are written back
// byte for byte.
QByteArray writeRtf(const QTextDocument &document);

} // namespace rtf
