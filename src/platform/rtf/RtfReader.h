#pragma once

#include <QByteArrayView>
#include <QStringList>

class QTextCursor;
class QTextDocument;

namespace rtf {

struct ReadResult
{
    // False when the bytes do not start as rich text; nothing was read then.
    bool isRichText = false;
    // German descriptions of what was broken; what could be read was loaded.
    QStringList problems;
};

// Hostile input is bounded: nesting, total size and \bin lengths are
// checked, so a damaged document neither hangs nor exhausts memory.
constexpr int maxGroupDepth = 256;
constexpr qsizetype maxInputSize = 64 * 1024 * 1024;
constexpr int maxTabStops = 32;
// A paragraph costs far more in the document than its four bytes \par.
constexpr int maxParagraphs = 100000;

// Replaces the document's content with the rich text.
ReadResult readRtf(QByteArrayView richText, QTextDocument &document);
// Inserts the rich text at the cursor.
ReadResult insertRtf(QByteArrayView richText, QTextCursor &cursor);

bool looksLikeRtf(QByteArrayView bytes);

} // namespace rtf
