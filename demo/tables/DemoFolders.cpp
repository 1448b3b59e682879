#include "demo/tables/DemoFolders.h"

#include "platform/runtime/Exceptions.h"

#include <QDir>

namespace demo {

void ensureFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        throw EInOutError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(path));
}

}
