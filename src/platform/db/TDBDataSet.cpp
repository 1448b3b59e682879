#include "platform/db/TDBDataSet.h"

#include "platform/db/DbErrors.h"

void TDBDataSet::CheckInactive(const char *what) const
{
    if (Active())
        db::raiseDataSetError(
            this, QStringLiteral("%1 kann bei geöffneter Datenmenge nicht geändert werden").arg(QLatin1String(what)));
}

void TDBDataSet::SetDatabaseName(const QString &name)
{
    if (name == m_databaseName)
        return;
    CheckInactive("DatabaseName");
    m_databaseName = name;
}
