#pragma once

#include "platform/report/PageSink.h"
#include "platform/runtime/ReplacingFile.h"

#include <QDataStream>
#include <QFile>

#include <memory>

namespace report {

// The preview file of a layout in the temporary folder.
QString previewPath(const QString &layoutPath);

// Writes the pages of a preview run into the preview file, through a
// temporary file that replaces it only when complete.
class PreviewSink : public PageSink
{
public:
    explicit PreviewSink(const QString &path) : m_path(path) {}
    ~PreviewSink() override;

    int addPage(const Page &page) override;
    int finish() override;
    void abort() override;

private:
    QString m_path;
    std::unique_ptr<runtime::ReplacingFile> m_file;
    std::unique_ptr<QDataStream> m_stream;
    int m_pages = 0;
};

// Reads a preview file; pages are read when asked for, so long documents do
// not have to fit in memory.
class PreviewDocument
{
public:
    // False when the file is missing, foreign or incomplete.
    bool open(const QString &path);
    int pageCount() const { return int(m_offsets.size()); }
    Page page(int index);

private:
    QFile m_file;
    QList<qint64> m_offsets;
};

}
