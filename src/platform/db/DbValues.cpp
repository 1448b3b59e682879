#include "platform/db/DbValues.h"

#include "platform/runtime/Exceptions.h"

#include <QRegularExpression>

#include <cmath>

namespace db {

namespace {

const QDate epoch(1899, 12, 30);
constexpr double msPerDay = 86400000.0;

QString isoTime(const QTime &time)
{
    return time.msec() ? time.toString(QStringLiteral("HH:mm:ss.zzz"))
                       : time.toString(QStringLiteral("HH:mm:ss"));
}

QTime timeFromFraction(double fraction)
{
    const qint64 ms = qint64(std::llround(std::fabs(fraction) * msPerDay));
    return QTime::fromMSecsSinceStartOfDay(int(std::min<qint64>(ms, qint64(msPerDay) - 1)));
}

double fractionFromTime(const QTime &time)
{
    return time.msecsSinceStartOfDay() / msPerDay;
}

[[noreturn]] void conversionError(const QVariant &value, const char *what)
{
    throw EConvertError(QStringLiteral("'%1' ist kein gültiger %2").arg(value.toString(), QLatin1String(what)));
}

qint64 toInteger(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (d != std::trunc(d))
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
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int ||
        value.typeId() == QMetaType::LongLong)
        return value.toDouble();
    double result = 0;
    if (!parseNumber(value.toString(), result))
        conversionError(value, "Gleitkommawert");
    return result;
}

qint64 toBoolean(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::Int ||
        value.typeId() == QMetaType::LongLong)
        return value.toLongLong() != 0;
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("t") || text == QLatin1String("1") ||
        text == QLatin1String("ja") || text == QLatin1String("j"))
        return 1;
    if (text == QLatin1String("false") || text == QLatin1String("f") || text == QLatin1String("0") ||
        text == QLatin1String("nein") || text == QLatin1String("n"))
        return 0;
    conversionError(value, "Boolescher Wert");
}

TDateTime toDateTimeValue(TFieldType type, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return dateTimeFromQDate(value.toDate());
    case QMetaType::QDateTime:
        return dateTimeFromQDateTime(value.toDateTime());
    case QMetaType::QTime:
        return fractionFromTime(value.toTime());
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
    QDate date;
    const QString datePart = text.section(QLatin1Char(' '), 0, 0);
    const QString timePart = text.section(QLatin1Char(' '), 1);
    if (type == ftTime) {
        const QTime time = QTime::fromString(text, text.count(QLatin1Char(':')) == 2
                                                       ? QStringLiteral("H:m:s")
                                                       : QStringLiteral("H:m"));
        if (time.isValid())
            return fractionFromTime(time);
    } else if (parseDate(datePart, date)) {
        result = dateTimeFromQDate(date);
        if (timePart.isEmpty())
            return result;
        const QTime time = QTime::fromString(timePart, timePart.count(QLatin1Char(':')) == 2
                                                           ? QStringLiteral("H:m:s")
                                                           : QStringLiteral("H:m"));
        if (time.isValid())
            return result >= 0 ? result + fractionFromTime(time) : result - fractionFromTime(time);
    }
    conversionError(value, type == ftTime ? "Zeitwert" : "Datumswert");
}

}

TDateTime dateTimeFromQDate(const QDate &date)
{
    return double(epoch.daysTo(date));
}

TDateTime dateTimeFromQDateTime(const QDateTime &dateTime)
{
    const double days = dateTimeFromQDate(dateTime.date());
    const double fraction = fractionFromTime(dateTime.time());
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime qDateTimeFromDateTime(TDateTime value)
{
    const double days = std::trunc(value);
    return QDateTime(epoch.addDays(qint64(days)), timeFromFraction(value - days));
}

QVariant storageFromDateTime(TFieldType type, TDateTime value)
{
    const QDateTime dateTime = qDateTimeFromDateTime(value);
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
        out = fractionFromTime(time);
        return true;
    }
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid())
            return false;
        out = dateTimeFromQDate(date);
        return true;
    }
    const QDateTime dateTime = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!dateTime.isValid())
        return false;
    out = dateTimeFromQDateTime(dateTime);
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
        return value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                                                       : value.toString().toUtf8();
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

QString formatNumber(double value)
{
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

bool parseNumber(const QString &text, double &out)
{
    QString normalized = text.trimmed();
    if (normalized.isEmpty())
        return false;
    normalized.remove(QLatin1Char('.'));
    normalized.replace(QLatin1Char(','), QLatin1Char('.'));
    if (!text.contains(QLatin1Char(',')) && text.count(QLatin1Char('.')) == 1)
        normalized = text.trimmed();
    bool ok = false;
    out = normalized.toDouble(&ok);
    return ok;
}

bool parseDate(const QString &text, QDate &out)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{1,4})$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    int year = match.captured(3).toInt();
    if (match.captured(3).size() <= 2)
        year += year < 50 ? 2000 : 1900;
    out = QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
    return out.isValid();
}

bool isBlank(const QVariant &value)
{
    return !value.isValid() || value.isNull() ||
           (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

}
