#pragma once

#include "lib/data/Qktypes.h"

#include <QMetaProperty>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QObject;
class TDataSource;

// The library finds its features on any component by published property name
// (case-free), never by class. Readers answer nothing when the property is
// missing; writers answer false.

QMetaProperty qkFindProperty(const QObject *object, const QString &name);
std::optional<QStringList> qkReadList(const QObject *object, const QString &name);
bool qkWriteList(QObject *object, const QString &name, const QStringList &lines);

std::optional<QStringList> qkGetPictureMasks(const QObject *object);
std::optional<QStringList> qkGetControlTypes(const QObject *object);
std::optional<QStringList> qkGetLookupFields(const QObject *object);
std::optional<QStringList> qkGetLookupLinks(const QObject *object);

bool qkGetValidateWithMask(const QObject *object);
TqkInvalidValueEvent qkGetOnInvalidValue(const QObject *object);
QString qkGetDatabaseName(const QObject *object);
bool qkSetDatabaseName(QObject *object, const QString &name);
QString qkGetSessionName(const QObject *object);
QObject *qkGetMasterSource(const QObject *object);
QObject *qkGetDataSource(const QObject *object);
// Only controls (widgets) take a data source or a data field by name.
bool qkSetDataSource(QObject *control, QObject *dataSource);
QString qkGetDataField(const QObject *control);
bool qkSetDataField(QObject *control, const QString &fieldName);
bool qkSetSQL(QObject *object, const QStringList &lines);
bool qkSetParams(QObject *object, const QVariant &params);
QVariant qkGetParams(const QObject *object);
std::optional<TqkOnFilterOptions> qkReadFilterOptions(const QObject *object);
bool qkWriteFilterOptions(QObject *object, TqkOnFilterOptions options);
