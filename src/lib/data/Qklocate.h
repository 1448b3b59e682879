#pragma once

#include <QString>

class TDataSet;
class TField;

enum TqkLocateMatch { lmExact = 0, lmStart = 1, lmAnywhere = 2 };

// True at once when the current record's field text equals Value; otherwise
// searches from the first record.
bool qkLocateByField(TDataSet *dataSet, const QString &fieldName, const QString &value, TqkLocateMatch matchType,
                     bool caseSensitive);
// Finds the first matching record, or with FromFirst false the next one after
// the current record. Without a match the data set stays where it was.
bool qkLocateRecord(bool fromFirst, TDataSet *dataSet, const QString &fieldName, const QString &value,
                    TqkLocateMatch matchType, bool caseSensitive);

// The library's own messages: a warning box with one OK button, captioned
// with the application's title; the operation goes on afterwards.
void qkShowLibraryWarning(const QString &text);

// A field's value as the locate and the filter dialog compare it: by type,
// dates and times in the short formats, rich text as its plain text.
QString qkFieldSearchText(const TField *field);
