#pragma once

#include "lib/data/Qktypes.h"

#include <QObject>
#include <QStringList>
#include <QWidget>

// Components that publish the library's list properties, as the data sets and
// the grid do, without being either.
namespace fixture {

class ListHolder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList PictureMasks MEMBER PictureMasks)
    Q_PROPERTY(QStringList ControlType MEMBER ControlType)
    Q_PROPERTY(QStringList LookupFields MEMBER LookupFields)
    Q_PROPERTY(QStringList LookupLinks MEMBER LookupLinks)
    Q_PROPERTY(bool ValidateWithMask MEMBER ValidateWithMask)
    Q_PROPERTY(TqkOnFilterOptions OnFilterOptions MEMBER OnFilterOptions)
    Q_PROPERTY(QString DatabaseName MEMBER DatabaseName)
    Q_PROPERTY(QStringList SQL MEMBER SQL)
    Q_PROPERTY(TqkInvalidValueEvent OnInvalidValue READ GetOnInvalidValue WRITE SetOnInvalidValue)

public:
    using QObject::QObject;
    QStringList PictureMasks;
    QStringList ControlType;
    QStringList LookupFields;
    QStringList LookupLinks;
    bool ValidateWithMask = true;
    TqkOnFilterOptions OnFilterOptions = qkDefaultFilterOptions;
    QString DatabaseName;
    QStringList SQL;
    TqkInvalidValueEvent OnInvalidValue;

    TqkInvalidValueEvent GetOnInvalidValue() const { return OnInvalidValue; }
    void SetOnInvalidValue(const TqkInvalidValueEvent &event) { OnInvalidValue = event; }
};

// Named like the library's table so that class-name walks take it for one.
class TqkTable : public ListHolder
{
    Q_OBJECT

public:
    using ListHolder::ListHolder;
    QStringList Pictures;
    Q_INVOKABLE QString GetFieldPicture(const QString &fieldName) const
    {
        for (const QString &line : Pictures) {
            if (line.section('\t', 0, 0) == fieldName)
                return line.section('\t', 1);
        }
        return {};
    }
};

class TqkClientDataSet : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Filtered MEMBER Filtered)

public:
    using QObject::QObject;
    bool Filtered = false;
};

class DataControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString DataField MEMBER DataField)

public:
    using QWidget::QWidget;
    QString DataField;
};

} // namespace fixture
