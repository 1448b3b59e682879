#pragma once

#include <QList>
#include <QString>

class QPrinter;

namespace os {

struct PrinterInfo
{
    QString name;
    QString port;
    bool builtinPdf = false;
};

// The printers the program may print to, and the program's own current
// default printer that stands in for the Windows default. Choosing a
// printer here never changes the system's default.
class PrinterService
{
public:
    virtual ~PrinterService() = default;

    // The installed service: SystemPrinterService unless a test set another.
    static PrinterService &instance();
    // nullptr goes back to the system service; the caller keeps ownership.
    static void setInstance(PrinterService *service);

    virtual QList<PrinterInfo> printers() const = 0;
    virtual QString currentPrinter() const = 0;
    virtual void setCurrentPrinter(const QString &name) = 0;
    // Names match without regard to case.
    virtual bool exists(const QString &name) const;
    // Prepares the printer for a job named documentName on that printer;
    // false (printer untouched) when there is no such printer or it cannot
    // take the job. Where the printer exists but cannot take the job,
    // refusal says why in German.
    virtual bool configure(QPrinter &printer, const QString &name, const QString &documentName,
                           QString &refusal) const = 0;

protected:
    // The entry of that name without regard to case; a null name when none.
    PrinterInfo find(const QString &name) const;
};

} // namespace os

// Callers name the services through this header alone.
#include "platform/os/SystemPrinterService.h"
