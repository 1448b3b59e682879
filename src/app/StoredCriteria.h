#pragma once

#include <QString>
#include <QStringList>

class TDataSet;
class TDataSource;
class TTable;
class TqkFilterDialog;

// Fills the filter dialog's criteria from the stored items, seven per field
// (field, match-type letter, value, minimum, maximum, "J" case-sensitive,
// "J" non-matching), and applies them without showing the dialog. False when
// the items are no whole groups of seven or a match-type letter is not one of
// the dialog's; then nothing is applied.
bool LoadFilterFields(TqkFilterDialog *dialog, const QStringList &items, TDataSet *dataSet);

// The stored-criteria step of the record selection on the job's main table.
// False when the stored list could not be loaded (said so in a box): the job
// must not print a wider selection than the request asked for.
bool ApplyStoredCriteria(TDataSource *source, TqkFilterDialog *dialog, TTable *table, const QString &definition);
