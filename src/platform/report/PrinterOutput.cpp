#include "platform/report/PrinterOutput.h"

#include "platform/os/Printers.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/PdfSink.h"
#include "platform/report/PrinterSink.h"
#include "platform/report/api/ReportCodes.h"

#include <QPrinter>

namespace report {

QString printerForLayout(const QString &layoutPath)
{
    os::PrinterService &service = os::PrinterService::instance();
    const QString stored = layoutPath.isEmpty() ? QString() : layoutPrinter(layoutPath);
    if (!stored.isEmpty() && service.exists(stored))
        return stored;
    return service.currentPrinter();
}

QString printerPort(const QString &printer)
{
    for (const os::PrinterInfo &info : os::PrinterService::instance().printers()) {
        if (info.name.compare(printer, Qt::CaseInsensitive) == 0)
            return info.port;
    }
    return {};
}

QStringList printerNames()
{
    QStringList names;
    for (const os::PrinterInfo &info : os::PrinterService::instance().printers())
        names.append(info.name);
    return names;
}

std::unique_ptr<PageSink> printerSink(const QString &printer, const QString &documentName, int &code, QString &refusal)
{
    auto qprinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (printer.isEmpty() || !os::PrinterService::instance().configure(*qprinter, printer, documentName, refusal)) {
        code = LL_ERR_NO_PRINTER;
        return nullptr;
    }
    code = 0;
    // PDF files are written by our own sink, which replaces the file only
    // once it is complete. A queue that turned out to be no queue at all
    // leaves a PDF printer without a file.
    if (qprinter->outputFormat() == QPrinter::PdfFormat) {
        if (qprinter->outputFileName().isEmpty()) {
            code = LL_ERR_PRINTING_FAILED;
            return nullptr;
        }
        auto sink = std::make_unique<PdfSink>(qprinter->outputFileName(), documentName);
        sink->announceWhenWritten();
        return sink;
    }
    return std::make_unique<PrinterSink>(std::move(qprinter));
}

}
