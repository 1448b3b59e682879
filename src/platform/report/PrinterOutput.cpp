#include "platform/report/PrinterOutput.h"

#include "platform/report/LayoutFile.h"
#include "platform/report/PdfSink.h"
#include "platform/report/PrinterSink.h"
#include "platform/report/ReportCodes.h"

#include <QPrinterInfo>

namespace report {

QString printerForLayout(const QString &layoutPath)
{
    const QString stored = layoutPrinter(layoutPath);
    if (!stored.isEmpty() && !QPrinterInfo::printerInfo(stored).isNull())
        return stored;
    return QPrinterInfo::defaultPrinterName();
}

QString printerPort(const QString &printer)
{
    return QPrinterInfo::printerInfo(printer).location();
}

QStringList printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

std::unique_ptr<PageSink> printerSink(const QString &printer, const QString &documentName, int &code)
{
    if (printer.isEmpty() || QPrinterInfo::printerInfo(printer).isNull()) {
        code = LL_ERR_NO_PRINTER;
        return nullptr;
    }
    auto qprinter = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(printer), QPrinter::HighResolution);
    qprinter->setDocName(documentName);
    if (qprinter->outputFormat() == QPrinter::PdfFormat)
        return std::make_unique<PdfSink>(qprinter->outputFileName(), documentName);
    code = 0;
    return std::make_unique<PrinterSink>(std::move(qprinter));
}

}
