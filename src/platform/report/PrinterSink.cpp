#include "platform/report/PrinterSink.h"

#include "platform/report/PagePainter.h"
#include "platform/report/api/ReportCodes.h"

namespace report {

PrinterSink::~PrinterSink()
{
    abort();
}

void PrinterSink::setPageSize(const QSizeF &size)
{
    m_printer->setPageSize(QPageSize(size, QPageSize::Millimeter));
    m_printer->setPageOrientation(QPageLayout::Portrait);
}

int PrinterSink::addPage(const Page &page)
{
    setPageSize(page.size);
    if (m_pages == 0) {
        m_printer->setFullPage(true);
        if (!m_painter.begin(m_printer.get()))
            return LL_ERR_PRINTING_FAILED;
    } else if (!m_printer->newPage()) {
        return LL_ERR_PRINTING_FAILED;
    }
    paintPage(m_painter, page);
    ++m_pages;
    return m_printer->printerState() == QPrinter::Error ? LL_ERR_PRINTING_FAILED : 0;
}

int PrinterSink::finish()
{
    if (m_pages == 0)
        return 0;
    const bool ended = m_painter.end();
    m_pages = 0;
    return ended && m_printer->printerState() != QPrinter::Error ? 0 : LL_ERR_PRINTING_FAILED;
}

void PrinterSink::abort()
{
    if (m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
    m_pages = 0;
}

}
