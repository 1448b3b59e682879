#pragma once

#include "platform/db/DbTypes.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

// One parameter of a query or stored procedure.
class TParam : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(QVariant Value READ Value WRITE SetValue)
public:
    explicit TParam(const QString &name, QObject *owner = nullptr);

    const QString &Name() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    TFieldType DataType() const { return m_dataType; }
    void SetDataType(TFieldType type) { m_dataType = type; }
    const QVariant &Value() const { return m_value; }
    void SetValue(const QVariant &value) { m_value = value; }
    bool IsNull() const { return !m_value.isValid() || m_value.isNull(); }
    QString AsString() const { return m_value.toString(); }
    void SetAsString(const QString &text) { m_value = text; }
    void Clear() { m_value = QVariant(); }

private:
    QString m_name;
    TFieldType m_dataType = ftUnknown;
    QVariant m_value;
};

class TParams : public QObject
{
    Q_OBJECT
public:
    explicit TParams(QObject *owner = nullptr);

    int Count() const { return int(m_items.size()); }
    TParam *Items(int index) const { return m_items.at(index); }
    TParam *CreateParam(TFieldType type, const QString &name);
    TParam *FindParam(const QString &name) const;
    TParam *ParamByName(const QString &name) const;
    void Clear();

private:
    QList<TParam *> m_items;
};
