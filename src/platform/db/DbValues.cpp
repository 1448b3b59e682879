#include "platform/db/DbValues.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"

namespace db {

namespace {

QString isoTime(const QTime &time)
{
    return time.msec() ? time.toString(QStringLiteral("HH:mm:ss.zzz")) : time.toString(QStringLiteral("HH:mm:ss"));
}

[[noreturn]] void conversionError(const QVariant &value, const char *what)
{
    throw EConvertError(QStringLiteral("'%1' ist kein gültiger %2").arg(value.toString(), QLatin1String(what)));
}

qint64 toInteger(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (d != std::trunc(d) || !runtime::fitsInt64(d))
            conversionError(value, "Integerwert");
        return qint64(d);
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    bool ok = false;
    const qint64 result = value.toString().trimmed().toLongLong(&ok);
    if (!ok)
        conversionError(value, "Integerwert");
    return result;
}

double toDouble(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int
        || value.typeId() == QMetaType::LongLong)
        return value.toDouble();
    double result = 0;
    if (!TryStrToFloat(value.toString().trimmed(), result))
        conversionError(value, "Gleitkommawert");
    return result;
}

qint64 toBoolean(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
        return value.toLongLong() != 0;
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("t") || text == QLatin1String("1")
        || text == QLatin1String("ja") || text == QLatin1String("j"))
        return 1;
    if (text == QLatin1String("false") || text == QLatin1String("f") || text == QLatin1String("0")
        || text == QLatin1String("nein") || text == QLatin1String("n"))
        return 0;
    conversionError(value, "Boolescher Wert");
}

TDateTime toDateTimeValue(TFieldType type, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return FromQDate(value.toDate());
    case QMetaType::QDateTime:
        return FromQDateTime(value.toDateTime());
    case QMetaType::QTime:
        return FromQTime(value.toTime());
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return value.toDouble();
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    TDateTime result = 0;
    if (dateTimeFromStorage(type, text, result))
        return result;
    const bool parsed = type == ftTime ? TryStrToTime(text, result)
                                       : (type == ftDate ? TryStrToDate(text, result) : TryStrToDateTime(text, result));
    if (!parsed)
        conversionError(value, type == ftTime ? "Zeitwert" : "Datumswert");
    return result;
}

}

QVariant storageFromDateTime(TFieldType type, TDateTime value)
{
    const QDateTime dateTime = ToQDateTime(value);
    switch (type) {
    case ftDate:
        return dateTime.date().toString(Qt::ISODate);
    case ftTime:
        return isoTime(dateTime.time());
    default:
        return dateTime.date().toString(Qt::ISODate) + QLatin1Char('T') + isoTime(dateTime.time());
    }
}

bool dateTimeFromStorage(TFieldType type, const QVariant &stored, TDateTime &out)
{
    const QString text = stored.toString();
    if (type == ftTime) {
        const QTime time = QTime::fromString(text, Qt::ISODateWithMs);
        if (!time.isValid())
            return false;
        out = FromQTime(time);
        return true;
    }
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid())
            return false;
        out = FromQDate(date);
        return true;
    }
    const QDateTime dateTime = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!dateTime.isValid())
        return false;
    out = FromQDateTime(dateTime);
    return true;
}

QVariant toStorage(TFieldType type, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        return toInteger(value);
    case ftBoolean:
        return toBoolean(value);
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        return toDouble(value);
    case ftDate:
    case ftTime:
    case ftDateTime:
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        return storageFromDateTime(type, toDateTimeValue(type, value));
    case ftString:
    case ftMemo:
        return value.toString();
    default:
        return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
    }
}

QVariant fromStorage(TFieldType type, const QVariant &stored)
{
    if (!stored.isValid())
        return QVariant();
    switch (type) {
    case ftBoolean:
        return stored.toLongLong() != 0;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return stored.toInt();
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return stored.toDouble();
    case ftDate:
        return QDate::fromString(stored.toString(), Qt::ISODate);
    case ftTime:
        return QTime::fromString(stored.toString(), Qt::ISODateWithMs);
    case ftDateTime:
        return QDateTime::fromString(stored.toString(), Qt::ISODateWithMs);
    default:
        return stored;
    }
}

QString dateTimeText(TFieldType type, TDateTime value)
{
    if (type == ftDate)
        return DateToStr(value);
    if (type == ftTime)
        return TimeToStr(value);
    return DateTimeToStr(value);
}

bool isBlank(const QVariant &value)
{
    return !value.isValid() || value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

}
