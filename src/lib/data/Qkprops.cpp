#include "lib/data/Qkprops.h"

#include "platform/ui/Properties.h"

#include <QMetaObject>
#include <QObject>
#include <QWidget>

namespace {

QVariant readProperty(const QObject *object, const QString &name)
{
    return ui::propertyByName(object, name);
}

bool writeProperty(QObject *object, const QString &name, const QVariant &value, QMetaType requiredType)
{
    const QMetaProperty property = qkFindProperty(object, name);
    if (!property.isValid() || !property.isWritable())
        return false;
    if (requiredType.isValid() && property.metaType() != requiredType)
        return false;
    return property.write(object, value);
}

bool isPointerToObject(const QMetaProperty &property)
{
    return property.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

} // namespace

QMetaProperty qkFindProperty(const QObject *object, const QString &name)
{
    return ui::findProperty(object, name);
}

std::optional<QStringList> qkReadList(const QObject *object, const QString &name)
{
    const QMetaProperty property = qkFindProperty(object, name);
    if (!property.isValid() || property.metaType() != QMetaType::fromType<QStringList>())
        return std::nullopt;
    return property.read(object).toStringList();
}

bool qkWriteList(QObject *object, const QString &name, const QStringList &lines)
{
    return writeProperty(object, name, lines, QMetaType::fromType<QStringList>());
}

std::optional<QStringList> qkGetPictureMasks(const QObject *object)
{
    return qkReadList(object, QStringLiteral("PictureMasks"));
}

std::optional<QStringList> qkGetControlTypes(const QObject *object)
{
    return qkReadList(object, QStringLiteral("ControlType"));
}

std::optional<QStringList> qkGetLookupFields(const QObject *object)
{
    return qkReadList(object, QStringLiteral("LookupFields"));
}

std::optional<QStringList> qkGetLookupLinks(const QObject *object)
{
    return qkReadList(object, QStringLiteral("LookupLinks"));
}

bool qkGetValidateWithMask(const QObject *object)
{
    return readProperty(object, QStringLiteral("ValidateWithMask")).toBool();
}

TqkInvalidValueEvent qkGetOnInvalidValue(const QObject *object)
{
    const QVariant value = readProperty(object, QStringLiteral("OnInvalidValue"));
    if (value.metaType() != QMetaType::fromType<TqkInvalidValueEvent>())
        return {};
    return value.value<TqkInvalidValueEvent>();
}

QString qkGetDatabaseName(const QObject *object)
{
    return readProperty(object, QStringLiteral("DatabaseName")).toString();
}

bool qkSetDatabaseName(QObject *object, const QString &name)
{
    return writeProperty(object, QStringLiteral("DatabaseName"), name, QMetaType::fromType<QString>());
}

QString qkGetSessionName(const QObject *object)
{
    return readProperty(object, QStringLiteral("SessionName")).toString();
}

QObject *qkGetMasterSource(const QObject *object)
{
    return readProperty(object, QStringLiteral("MasterSource")).value<QObject *>();
}

QObject *qkGetDataSource(const QObject *object)
{
    return readProperty(object, QStringLiteral("DataSource")).value<QObject *>();
}

bool qkSetDataSource(QObject *control, QObject *dataSource)
{
    if (!qobject_cast<QWidget *>(control))
        return false;
    const QMetaProperty property = qkFindProperty(control, QStringLiteral("DataSource"));
    if (!property.isValid() || !property.isWritable() || !isPointerToObject(property))
        return false;
    if (dataSource && !dataSource->metaObject()->inherits(property.metaType().metaObject()))
        return false;
    QVariant value(property.metaType(), &dataSource);
    return property.write(control, value);
}

QString qkGetDataField(const QObject *control)
{
    if (!qobject_cast<const QWidget *>(control))
        return {};
    return readProperty(control, QStringLiteral("DataField")).toString();
}

bool qkSetDataField(QObject *control, const QString &fieldName)
{
    if (!qobject_cast<QWidget *>(control))
        return false;
    return writeProperty(control, QStringLiteral("DataField"), fieldName, QMetaType::fromType<QString>());
}

bool qkSetSQL(QObject *object, const QStringList &lines)
{
    return qkWriteList(object, QStringLiteral("SQL"), lines);
}

bool qkSetParams(QObject *object, const QVariant &params)
{
    return writeProperty(object, QStringLiteral("Params"), params, params.metaType());
}

QVariant qkGetParams(const QObject *object)
{
    return readProperty(object, QStringLiteral("Params"));
}

std::optional<TqkOnFilterOptions> qkReadFilterOptions(const QObject *object)
{
    const QVariant value = readProperty(object, QStringLiteral("OnFilterOptions"));
    if (!value.isValid())
        return std::nullopt;
    if (value.metaType() == QMetaType::fromType<TqkOnFilterOptions>())
        return value.value<TqkOnFilterOptions>();
    return TqkOnFilterOptions::fromInt(value.toInt());
}

bool qkWriteFilterOptions(QObject *object, TqkOnFilterOptions options)
{
    const QMetaProperty property = qkFindProperty(object, QStringLiteral("OnFilterOptions"));
    if (!property.isValid() || !property.isWritable())
        return false;
    if (property.metaType() == QMetaType::fromType<TqkOnFilterOptions>())
        return property.write(object, QVariant::fromValue(options));
    return property.write(object, options.toInt());
}
