#pragma once

#include "platform/db/TDataSet.h"

// The engine-backed data sets (class names the library recognises).
class TBDEDataSet : public TDataSet
{
    Q_OBJECT
public:
    using TDataSet::TDataSet;
};

class TDBDataSet : public TBDEDataSet
{
    Q_OBJECT
    Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)
    Q_PROPERTY(QString SessionName READ SessionName WRITE SetSessionName)
public:
    using TBDEDataSet::TBDEDataSet;

    const QString &DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const QString &name);
    const QString &SessionName() const { return m_sessionName; }
    void SetSessionName(const QString &name) { m_sessionName = name; }

protected:
    void CheckInactive(const char *what) const;

private:
    QString m_databaseName;
    QString m_sessionName;
};
