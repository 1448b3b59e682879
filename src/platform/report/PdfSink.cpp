#include "platform/report/PdfSink.h"

#include "platform/report/PagePainter.h"
#include "platform/report/PassingNotice.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace report {
namespace {

// Less room than a page of a document needs counts as full.
bool isFull(const QString &folder)
{
    constexpr qint64 pageRoom = 1024 * 1024;
    const QStorageInfo volume(folder);
    return volume.isValid() && volume.bytesAvailable() < pageRoom;
}

QString incomplete(const QString &path)
{
    return QStringLiteral("Die PDF-Datei %1 konnte nicht vollständig geschrieben werden").arg(path);
}

bool isCompletePdf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - 16);
    return file.read(16).contains("%%EOF");
}

}

PdfSink::PdfSink(const QString &path, const QString &title) : m_path(path), m_title(title)
{}

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
    m_output = std::make_unique<runtime::ReplacingFile>(m_path);
    if (!m_output->open()) {
        m_error = writeFailure(fileWriteFailure(m_path));
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(&m_output->file());
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
        if (!m_writer->newPage()) {
            m_error = writeFailure(incomplete(m_path));
            return LL_ERR_PRINTING_FAILED;
        }
    }
    paintPage(*m_painter, page);
    ++m_pages;
    return 0;
}

int PdfSink::finish()
{
    if (m_pages == 0)
        return 0;
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_pages = 0;
    // The PDF writer does not report failed writes; a file cut short by a
    // full disk lacks the closing trailer.
    const bool complete = m_output->file().flush() && isCompletePdf(m_output->temporaryPath());
    if (!complete || !m_output->commit()) {
        m_error = writeFailure(incomplete(m_path));
        m_output.reset();
        return LL_ERR_PRINTING_FAILED;
    }
    m_output.reset();
    if (m_announce)
        showPassingNotice(QStringLiteral("Die PDF-Datei wurde gespeichert:\n") + QDir::toNativeSeparators(m_path));
    return 0;
}

// A full disk is told as the other faults of the PDF folder are; anything
// else names the file.
QString PdfSink::writeFailure(const QString &otherwise) const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (isFull(folder))
        return QStringLiteral("Der PDF-Drucker kann nicht in den Ordner \"%1\" schreiben: Es ist kein Platz mehr.")
            .arg(QDir::toNativeSeparators(folder));
    return otherwise;
}

void PdfSink::abort()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_output.reset();
    m_pages = 0;
}

}
