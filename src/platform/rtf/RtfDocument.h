#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QTextFormat>

class QTextBlockFormat;

class QTextCursor;
class QTextDocument;

// How rich text parts that QTextDocument has no notion of are kept in the
// document: embedded objects and pictures we cannot show travel as one
// object character whose format carries their RTF group byte for byte.
namespace rtf {

constexpr int OpaqueObjectType = QTextFormat::UserObject + 82;

enum Property {
    // QByteArray: the complete RTF group, braces included.
    OpaqueGroupProperty = QTextFormat::UserProperty + 82,
    // bool on character formats whose font uses the symbol character set.
    SymbolCharsetProperty,
    // bool on block formats of bullet paragraphs.
    BulletProperty,
    // double, points: the first-line indent of a bullet paragraph.
    FirstLineIndentProperty,
};

// One twip is a twentieth of a point; documents are measured in points.
constexpr double pointsPerTwip = 1.0 / 20.0;

// Qt draws a list's bullet left of the first line, so a bullet paragraph
// starts its first line at the left margin and keeps its hanging indent
// aside, where the writer and the ruler find it.
double firstLineIndent(const QTextBlockFormat &format);
void setFirstLineIndent(QTextBlockFormat &format, double points);

void insertOpaqueGroup(QTextCursor &cursor, const QByteArray &group, QSizeF sizeInPoints);
QByteArray opaqueGroup(const QTextFormat &format);

// Draws opaque objects as framed boxes of their size so that a document
// holding them lays out as the old control showed them.
void registerOpaqueObjectPainter(QTextDocument &document);

} // namespace rtf
