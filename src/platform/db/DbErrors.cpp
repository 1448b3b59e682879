#include "platform/db/DbErrors.h"

#include "platform/runtime/Exceptions.h"

#include <QObject>

#include <sqlite3.h>

namespace db {

void raiseDataSetError(const QObject *component, const QString &text)
{
    const QString name = component ? component->objectName() : QString();
    throw EDatabaseError(name.isEmpty() ? text : name + QStringLiteral(": ") + text);
}

bool breaksKey(int sqliteCode)
{
    return sqliteCode == SQLITE_CONSTRAINT_UNIQUE || sqliteCode == SQLITE_CONSTRAINT_PRIMARYKEY
           || sqliteCode == SQLITE_CONSTRAINT_TRIGGER;
}

void raiseRecordDeletedByOther()
{
    throw EDBEngineError(recordDeletedByOther, QStringLiteral("Datensatz wurde von einem anderen Benutzer gelöscht."));
}

}
