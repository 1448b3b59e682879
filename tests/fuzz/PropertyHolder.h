#pragma once

#include <QObject>
#include <QStringList>

// Publishes the library's list properties by name, as a data set does.
class PropertyHolder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList PictureMasks MEMBER PictureMasks)
    Q_PROPERTY(QStringList ControlType MEMBER ControlType)
    Q_PROPERTY(QStringList LookupFields MEMBER LookupFields)
    Q_PROPERTY(QStringList LookupLinks MEMBER LookupLinks)

public:
    using QObject::QObject;
    QStringList PictureMasks;
    QStringList ControlType;
    QStringList LookupFields;
    QStringList LookupLinks;
};
