#include "platform/os/Printers.h"

#include "platform/os/SystemPrinterService.h"

namespace os {

namespace {

PrinterService *&installed()
{
    static PrinterService *service = nullptr;
    return service;
}

} // namespace

PrinterService &PrinterService::instance()
{
    if (installed())
        return *installed();
    static SystemPrinterService system;
    return system;
}

void PrinterService::setInstance(PrinterService *service)
{
    installed() = service;
}

PrinterInfo PrinterService::find(const QString &name) const
{
    for (const PrinterInfo &info : printers()) {
        if (info.name.compare(name, Qt::CaseInsensitive) == 0)
            return info;
    }
    return {};
}

bool PrinterService::exists(const QString &name) const
{
    return !name.isEmpty() && !find(name).name.isNull();
}

} // namespace os
