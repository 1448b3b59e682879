#include "support/FakePrinterService.h"

#include "platform/os/Paths.h"
#include "platform/os/SystemPrinterService.h"

#include <QPrinter>

namespace os {

FakePrinterService::FakePrinterService(const QString &outputFolder, QStringList names)
    : m_outputFolder(outputFolder.isEmpty() ? tempFolder() : outputFolder), m_names(std::move(names)),
      m_current(m_names.value(0))
{}

QList<PrinterInfo> FakePrinterService::printers() const
{
    QList<PrinterInfo> result;
    for (int i = 0; i < m_names.size(); ++i) {
        const bool pdf = m_names[i] == SystemPrinterService::BuiltinPdfName;
        result << PrinterInfo{m_names[i], pdf ? QStringLiteral("PDF") : QStringLiteral("LPT%1:").arg(i + 1), pdf};
    }
    return result;
}

void FakePrinterService::setCurrentPrinter(const QString &name)
{
    m_current = name;
    m_history << name;
}

bool FakePrinterService::configure(QPrinter &printer, const QString &name, const QString &documentName,
                                   QString &refusal) const
{
    const PrinterInfo info = find(name);
    if (info.name.isNull() || !configurePdfOutput(printer, m_outputFolder, documentName, refusal))
        return false;
    m_jobs << Job{info.name, documentName, printer.outputFileName()};
    return true;
}

} // namespace os
