#include "platform/db/DbErrors.h"

#include "platform/runtime/Exceptions.h"

#include <QObject>

namespace db {

void raiseDataSetError(const QObject *component, const QString &text)
{
    const QString name = component ? component->objectName() : QString();
    throw EDatabaseError(name.isEmpty() ? text : name + QStringLiteral(": ") + text);
}

void raiseRecordDeletedByOther()
{
    throw EDBEngineError(recordDeletedByOther, QStringLiteral("Datensatz wurde von einem anderen Benutzer gelöscht."));
}

}
