#include "platform/db/TDBDataSet.h"

#include "platform/runtime/Exceptions.h"

void TDBDataSet::CheckInactive(const char *what) const
{
    if (Active())
        throw EDatabaseError(QStringLiteral("%1: %2 kann bei geöffneter Datenmenge nicht geändert werden")
                                 .arg(objectName(), QLatin1String(what)));
}

void TDBDataSet::SetDatabaseName(const QString &name)
{
    if (name == m_databaseName)
        return;
    CheckInactive("DatabaseName");
    m_databaseName = name;
}
