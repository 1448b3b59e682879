#pragma once

#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <QVariant>

namespace ui {

// Published properties are Qt properties; their names match without regard to case.
QMetaProperty findProperty(const QObject *object, const QString &name);
bool hasProperty(const QObject *object, const QString &name);
// An invalid QVariant when the object has no such property.
QVariant propertyByName(const QObject *object, const QString &name);
// True when the property exists, is writable and took the value.
bool setPropertyByName(QObject *object, const QString &name, const QVariant &value);

// The class name without its namespace: classes are recognised by their bare names.
QString bareClassName(const QMetaObject *metaObject);
// True when the class or one of its ancestors has that bare name (case-free).
bool inheritsFromName(const QMetaObject *metaObject, const QString &className);
bool inheritsFromName(const QObject *object, const QString &className);

}
