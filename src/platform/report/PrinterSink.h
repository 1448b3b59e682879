#pragma once

#include "platform/report/PageSink.h"

#include <QPainter>
#include <QPrinter>

#include <memory>

namespace report {

// Sends pages to a print queue through QPrinter. The queue gets the job only
// when the painter ends, so an aborted run sends nothing.
class PrinterSink : public PageSink
{
public:
    explicit PrinterSink(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}
    ~PrinterSink() override;

    int addPage(const Page &page) override;
    int finish() override;
    void abort() override;

private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    int m_pages = 0;

    void setPageSize(const QSizeF &size);
};

}
