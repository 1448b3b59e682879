#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QTextFormat>
#include <QTextOption>

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
    // double, document units: the first-line indent of a bullet paragraph.
    FirstLineIndentProperty,
    // bool on character formats of text the user may not change unasked.
    ProtectedProperty,
};

// Qt lays out indents, spacing, tab stops and picture sizes in units of
// 1/96 inch, on screen and on paper alike, so a document holds its lengths
// in that unit: 15 twips each.
constexpr double documentUnitsPerInch = 96.0;
constexpr double twipsPerDocumentUnit = 1440.0 / documentUnitsPerInch;
double fromTwips(double twips);
int toTwips(double length);

// Qt draws a list's bullet left of the first line, so a bullet paragraph
// starts its first line at the left margin and keeps its hanging indent
// aside, where the writer and the ruler find it.
double firstLineIndent(const QTextBlockFormat &format);
void setFirstLineIndent(QTextBlockFormat &format, double length);

// Qt measures a paragraph's tab stops from where its first line starts, RTF
// and the ruler from the margin; these give and take them from the margin.
QList<QTextOption::Tab> tabStops(const QTextBlockFormat &format);
void setTabStops(QTextBlockFormat &format, const QList<QTextOption::Tab> &tabs);
// The left margin and first-line indent, the tab stops kept on their place.
void setIndents(QTextBlockFormat &format, double leftMargin, double firstLine);

void insertOpaqueGroup(QTextCursor &cursor, const QByteArray &group, QSizeF size);
QByteArray opaqueGroup(const QTextFormat &format);

// Draws opaque objects as framed boxes of their size so that a document
// holding them lays out as the old control showed them.
void registerOpaqueObjectPainter(QTextDocument &document);

} // namespace rtf
