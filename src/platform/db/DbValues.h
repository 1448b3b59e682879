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

TDateTime dateTimeFromQDate(const QDate &date);
TDateTime dateTimeFromQDateTime(const QDateTime &dateTime);
QDateTime qDateTimeFromDateTime(TDateTime value);

// Storage form <-> typed values.
QVariant storageFromDateTime(TFieldType type, TDateTime value);
bool dateTimeFromStorage(TFieldType type, const QVariant &stored, TDateTime &out);
// Brings a value given by a caller (number, text, date) into the storage form
// of the type; raises EConvertError when it does not convert.
QVariant toStorage(TFieldType type, const QVariant &value);
// The storage form read back as the value callers see (QDate, QTime, QDateTime, bool, ...).
QVariant fromStorage(TFieldType type, const QVariant &stored);

QString formatNumber(double value);
bool parseNumber(const QString &text, double &out);
bool parseDate(const QString &text, QDate &out);

bool isBlank(const QVariant &value);

}
