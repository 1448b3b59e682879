#include "demo/tables/RowCheck.h"

#include "platform/runtime/Exceptions.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QTime>

namespace demo {
namespace {

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

bool isInteger(const QVariant &value)
{
    return value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong;
}

bool fitsType(const FieldSpec &field, const QVariant &value)
{
    switch (field.type.toLatin1()) {
    case 'A':
        return value.typeId() == QMetaType::QString && value.toString().size() <= field.size;
    case 'M':
        return value.typeId() == QMetaType::QString;
    case 'N':
    case '$':
        return isNumber(value);
    case 'S':
        return isInteger(value) && qAbs(value.toLongLong()) <= 32767;
    case 'I':
    case '+':
        return isInteger(value);
    case 'D':
        return value.typeId() == QMetaType::QDate && value.toDate().isValid();
    case 'T':
        return value.typeId() == QMetaType::QTime && value.toTime().isValid();
    case '@':
        return value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid();
    case 'L':
        return value.typeId() == QMetaType::Bool;
    case 'G':
        return value.typeId() == QMetaType::QByteArray;
    default:
        return false;
    }
}

[[noreturn]] void fail(const TableSpec &spec, int rowNumber, const QString &what)
{
    throw EDatabaseError(QStringLiteral("Tabelle %1, Datensatz %2: %3").arg(spec.fileName).arg(rowNumber).arg(what));
}

}

void checkRow(const TableSpec &spec, const Row &row, int rowNumber)
{
    for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
        const int index = spec.fieldIndex(it.key());
        if (index < 0)
            fail(spec, rowNumber, QStringLiteral("Feld '%1' nicht gefunden").arg(it.key()));
        const FieldSpec &field = spec.fields.at(index);
        if (it.value().isValid() && !fitsType(field, it.value()))
            fail(spec, rowNumber,
                 QStringLiteral("Wert '%1' passt nicht in das Feld '%2' (%3%4)")
                     .arg(it.value().toString(), field.name, field.type,
                          field.size > 0 ? QString::number(field.size) : QString()));
    }
}

QVariant valueOf(const Row &row, const QString &field)
{
    for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
        if (it.key().compare(field, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QVariant();
}

QString keyOf(const TableSpec &spec, const Row &row)
{
    QStringList parts;
    for (const QString &field : spec.keyFields())
        parts << valueOf(row, field).toString();
    return parts.join(QLatin1Char('|'));
}

void checkRows(const TableSpec &spec, const Rows &rows)
{
    QSet<QString> keys;
    for (int i = 0; i < rows.size(); ++i) {
        checkRow(spec, rows.at(i), i + 1);
        if (spec.keyFieldCount == 0)
            continue;
        for (const QString &field : spec.keyFields()) {
            if (!valueOf(rows.at(i), field).isValid())
                fail(spec, i + 1, QStringLiteral("Schlüsselfeld '%1' ist leer").arg(field));
        }
        const QString key = keyOf(spec, rows.at(i));
        if (keys.contains(key))
            fail(spec, i + 1, QStringLiteral("Schlüssel '%1' doppelt").arg(key));
        keys.insert(key);
    }
}

}
