#include "demo/layouts/ModuleLayouts.h"

#include "demo/layouts/DocumentLayouts.h"
#include "demo/layouts/LabelLayouts.h"
#include "demo/layouts/ListLayouts.h"
#include "platform/report/LayoutFile.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>

namespace demo {

QList<QPair<QString, report::Layout>> moduleLayouts()
{
    return documentLayouts() + listLayouts() + labelLayouts();
}

void writeModuleLayouts(const QString &formFolder)
{
    const QDir folder(formFolder);
    for (const auto &[name, layout] : moduleLayouts()) {
        QString message;
        if (!report::saveLayout(folder.filePath(name), layout, &message))
            throw EInOutError(message);
    }
}

}
