#include "platform/report/PdfSink.h"

#include "platform/report/PagePainter.h"
#include "platform/report/ReportCodes.h"

namespace report {

PdfSink::PdfSink(const QString &path, const QString &title) : m_path(path), m_title(title) {}

PdfSink::~PdfSink()
{
    abort();
}

void PdfSink::setPageSize(const QSizeF &size)
{
    m_writer->setPageSize(QPageSize(size, QPageSize::Millimeter));
    m_writer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool PdfSink::begin(const QSizeF &pageSize)
{
    m_file = std::make_unique<QSaveFile>(m_path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = m_file->errorString();
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setTitle(m_title);
    m_writer->setCreator(QStringLiteral("Tintlen"));
    m_writer->setResolution(1200);
    setPageSize(pageSize);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        m_error = QStringLiteral("PDF-Ausgabe konnte nicht begonnen werden");
        return false;
    }
    return true;
}

int PdfSink::addPage(const Page &page)
{
    if (m_pages == 0) {
        if (!begin(page.size))
            return LL_ERR_PRINTING_FAILED;
    } else {
        setPageSize(page.size);
        if (!m_writer->newPage())
            return LL_ERR_PRINTING_FAILED;
    }
    paintPage(*m_painter, page);
    ++m_pages;
    return m_file->error() == QFileDevice::NoError ? 0 : LL_ERR_PRINTING_FAILED;
}

int PdfSink::finish()
{
    if (m_pages == 0)
        return 0;
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    const bool committed = m_file->commit();
    if (!committed)
        m_error = m_file->errorString();
    m_file.reset();
    m_pages = 0;
    return committed ? 0 : LL_ERR_PRINTING_FAILED;
}

void PdfSink::abort()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
    m_pages = 0;
}

}
