#pragma once

#include "platform/db/DbTypes.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>
#include <QVector>

namespace db {

// One record as stored: the row id and each column in its storage form
// (text, 64-bit integer, double, ISO-8601 text for dates and times, bytes).
struct Row
{
    qint64 rowId = 0;
    QVector<QVariant> values;
    QVector<QVariant> calculated;
    bool calculatedValid = false;
};

// Storage form <-> typed values.
QVariant storageFromDateTime(TFieldType type, TDateTime value);
bool dateTimeFromStorage(TFieldType type, const QVariant &stored, TDateTime &out);
// Brings a value given by a caller (number, text, date) into the storage form
// of the type; raises EConvertError when it does not convert.
QVariant toStorage(TFieldType type, const QVariant &value);
// The storage form read back as the value callers see (QDate, QTime, QDateTime, bool, ...).
QVariant fromStorage(TFieldType type, const QVariant &stored);

// The text of a date, time or timestamp value as the framework shows it.
QString dateTimeText(TFieldType type, TDateTime value);

bool isBlank(const QVariant &value);

}
