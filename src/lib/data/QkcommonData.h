#pragma once

#include "lib/data/Qktypes.h"
#include "platform/db/DbTypes.h"

#include <QString>
#include <QStringList>

class QObject;
class TDataSet;
class TField;

// Keeps the data set's controls from following it for as long as it lives.
class TqkControlsDisabled
{
public:
    explicit TqkControlsDisabled(TDataSet *dataSet);
    ~TqkControlsDisabled();
    TqkControlsDisabled(const TqkControlsDisabled &) = delete;
    TqkControlsDisabled &operator=(const TqkControlsDisabled &) = delete;

private:
    TDataSet *m_dataSet;
};

// The data sets' check before post: the first masked field whose text the
// mask does not accept stops the post with the framework's database error.
void qkValidateFieldPicture(TDataSet *dataSet, const TqkInvalidValueEvent &onInvalidValue);

bool qkIsLibraryDataSet(const QObject *dataSet);
bool qkIsLookupOrCalcField(const TField *field);
// Lookup and calculated fields, and every field of a data set that is not an
// engine data set: their values are not read from the engine's record.
bool qkIsNonEngineField(const TField *field);
// Bytes, variable bytes, blob and graphic fields cannot be searched.
bool qkIsSearchableFieldType(TFieldType type);

// Drops the "LookupFields" lines (with their "LookupLinks" partners) and the
// "ControlType" lines whose first part names no field of the data set.
void qkRemoveMissingFieldLines(const TDataSet *dataSet, QStringList *lookupFields, QStringList *lookupLinks,
                               QStringList *controlType);

void qkFillFieldList(const TDataSet *dataSet, QStringList &list);
// Shows exactly the listed fields, in the list's order, with the listed
// widths and labels. A width that is not a number raises the conversion error
// before anything changes.
void qkApplyFieldLayout(TDataSet *dataSet, const QStringList &list);
bool qkFieldNameForDisplayLabel(const TDataSet *dataSet, const QString &label, QString &fieldName);

// The data set's own comparison: -1, 0, 1, or 2 for the same record.
int qkCompareBookmarks(TDataSet *dataSet, const TBookmark &first, const TBookmark &second);
inline bool qkSameRecord(int comparison)
{
    return comparison == 0 || comparison == 2;
}

bool qkIsRichTextField(const TField *field, bool readData);

// The framework's field types grouped by how the library reads their values.
enum class TqkValueKind { Text, Integer, Boolean, Float, Date, Time, DateTime, Binary };
TqkValueKind qkValueKind(TFieldType type);

bool qkIsValidTextForFieldType(TFieldType type, const QString &text);
bool qkIsValidValueText(const TField *field, const QString &text);
