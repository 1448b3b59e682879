#include "platform/help/HH.h"

#include "platform/help/HtmlHelpControl.h"

#include <QFileInfo>

namespace {

THtmlHelpEntry &loadedEntry()
{
    static THtmlHelpEntry entry = nullptr;
    return entry;
}

} // namespace

QString GetHHCtrlPath()
{
    const QString path = help::HelpLibraryPath();
    return QFileInfo(path).isFile() ? path : QString();
}

THtmlHelpEntry HtmlHelpEntry()
{
    return loadedEntry();
}

// A control that cannot be found is not reported; help requests then say
// that it is missing.
void HH_Initialize()
{
    if (loadedEntry())
        return;
    if (!GetHHCtrlPath().isEmpty())
        loadedEntry() = &help::HtmlHelp;
}

void HH_Finalize()
{
    loadedEntry() = nullptr;
}
