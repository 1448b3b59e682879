#include "platform/ui/Properties.h"

namespace ui {

QMetaProperty findProperty(const QObject *object, const QString &name)
{
    if (!object)
        return {};
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (QString::fromLatin1(property.name()).compare(name, Qt::CaseInsensitive) == 0)
            return property;
    }
    return {};
}

bool hasProperty(const QObject *object, const QString &name)
{
    return findProperty(object, name).isValid();
}

QVariant propertyByName(const QObject *object, const QString &name)
{
    const QMetaProperty property = findProperty(object, name);
    return property.isValid() ? property.read(object) : QVariant();
}

bool setPropertyByName(QObject *object, const QString &name, const QVariant &value)
{
    const QMetaProperty property = findProperty(object, name);
    return property.isValid() && property.isWritable() && property.write(object, value);
}

QString bareClassName(const QMetaObject *metaObject)
{
    const QString name = QString::fromLatin1(metaObject->className());
    const qsizetype scope = name.lastIndexOf(QLatin1String("::"));
    return scope < 0 ? name : name.mid(scope + 2);
}

bool inheritsFromName(const QMetaObject *metaObject, const QString &className)
{
    for (const QMetaObject *meta = metaObject; meta; meta = meta->superClass()) {
        if (bareClassName(meta).compare(className, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool inheritsFromName(const QObject *object, const QString &className)
{
    return object && inheritsFromName(object->metaObject(), className);
}

}
