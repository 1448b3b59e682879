#pragma once

#include "platform/report/PageSink.h"
#include "platform/runtime/ReplacingFile.h"

#include <QPainter>
#include <QPdfWriter>

#include <memory>

namespace report {

// Writes a PDF file through a temporary file beside the target that replaces
// it only when the PDF is complete; a full disk leaves no half file behind.
class PdfSink : public PageSink
{
public:
    PdfSink(const QString &path, const QString &title);
    ~PdfSink() override;

    int addPage(const Page &page) override;
    int finish() override;
    void abort() override;
    QString errorText() const override { return m_error; }
    // The user did not choose this file: once it is written, a passing
    // notice tells where it went.
    void announceWhenWritten() { m_announce = true; }

private:
    QString m_path;
    QString m_title;
    QString m_error;
    std::unique_ptr<runtime::ReplacingFile> m_output;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
    bool m_announce = false;

    bool begin(const QSizeF &pageSize);
    QString writeFailure(const QString &otherwise) const;
    void setPageSize(const QSizeF &size);
};

}
