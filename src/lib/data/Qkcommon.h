#pragma once

#include "lib/data/Qktypes.h"

#include <QString>
#include <QStringList>

class QMetaObject;
class QObject;

// A picture mask as the "PictureMasks" list holds it for one field.
struct TqkPictureMaskSetting
{
    QString Mask;
    bool AutoFill = true;
    bool UseInGrid = true;
};

// Reads the field's "PictureMasks" line (field names compared without regard
// to case). A library table's own picture of the field wins and is written
// back into an existing line.
TqkPictureMaskSetting qkGetPictureMask(QObject *dataSet, const QString &fieldName, bool useTablePicture);
void qkGetPictureMask(QObject *dataSet, const QString &fieldName, bool useTablePicture, QString &mask, bool &autoFill,
                      bool &useInGrid);
// Writes one "PictureMasks" line; what is not to be set is kept from the
// existing line. An empty mask deletes the line.
void qkSetPictureMask(QObject *dataSet, const QString &fieldName, QString mask, bool autoFill, bool useInGrid,
                      bool setMask, bool setAutoFill, bool setUseInGrid);
// The picture a library table keeps for the field itself; empty for other
// data sets.
QString qkTablePicture(QObject *dataSet, const QString &fieldName);

// "ControlType": field name (exact), type, parameters; the last line wins.
void qkGetControlType(const QObject *holder, const QString &fieldName, QString &type, QString &parameters);
bool qkIsEditControlType(const QString &type);

// Field layout lines: field name, TAB, display width, TAB, display label.
QString qkFieldLayoutLine(const QString &fieldName, int displayWidth, const QString &displayLabel);
bool qkFindFieldInList(const QStringList &list, const QString &fieldName, int &index);
int qkListIndexOfText(const QStringList &list, const QString &text);

bool qkInheritsFromName(const QMetaObject *meta, const QString &className);
bool qkInheritsFromName(const QObject *object, const QString &className);

TqkOnFilterOptions qkGetFilterOptions(const QObject *dataSet);
void qkSetFilterEnabled(QObject *dataSet, bool enabled);
// Takes the first pending key press out of the event queue; Escape switches
// the data set's record filter off and answers true. Any other key is lost;
// the user's other input is held back until the next call or the event loop.
bool qkEscapePressed(QObject *dataSet);

// Skips blanks and tabs from Pos (1-based); a quoted token runs to its
// closing quote, included; any other runs over "$", ".", digits, letters and
// "_". Pos moves behind the token.
void qkGetQuotedToken(const QString &text, int &pos, QString &token);

int qkScalePixels(int value, int pixelsPerInch);
inline int qkMax(int a, int b)
{
    return a > b ? a : b;
}
inline int qkMin(int a, int b)
{
    return a < b ? a : b;
}
