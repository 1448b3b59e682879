#include "platform/report/PreviewFile.h"

#include "platform/os/Paths.h"

#include "platform/report/api/ReportCodes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace report {
namespace {

constexpr quint32 kMagic = 0x544c5056; // "TLPV"
constexpr quint32 kVersion = 2;
constexpr quint8 kPageMark = 1;
constexpr quint8 kEndMark = 2;

}

QString previewPath(const QString &layoutPath)
{
    const QFileInfo info(layoutPath);
    return QDir(os::tempFolder())
        .absoluteFilePath(QStringLiteral("tintlen-%1-%2.%3.tlv")
                              .arg(QCoreApplication::applicationPid())
                              .arg(info.completeBaseName(), info.suffix()));
}

PreviewSink::~PreviewSink()
{
    abort();
}

int PreviewSink::addPage(const Page &page)
{
    if (m_pages == 0) {
        m_file = std::make_unique<runtime::ReplacingFile>(m_path);
        if (!m_file->open())
            return LL_ERR_PRINTING_FAILED;
        m_stream = std::make_unique<QDataStream>(&m_file->file());
        m_stream->setVersion(QDataStream::Qt_6_4);
        *m_stream << kMagic << kVersion;
    }
    *m_stream << kPageMark << page;
    ++m_pages;
    return m_stream->status() == QDataStream::Ok ? 0 : LL_ERR_PRINTING_FAILED;
}

int PreviewSink::finish()
{
    if (m_pages == 0)
        return 0;
    *m_stream << kEndMark;
    const bool ok = m_stream->status() == QDataStream::Ok && m_file->commit();
    m_stream.reset();
    m_file.reset();
    m_pages = 0;
    return ok ? 0 : LL_ERR_PRINTING_FAILED;
}

void PreviewSink::abort()
{
    m_stream.reset();
    m_file.reset();
    m_pages = 0;
}

bool PreviewDocument::open(const QString &path)
{
    m_file.close();
    m_offsets.clear();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&m_file);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    quint32 version = 0;
    in >> magic >> version;
    if (magic != kMagic || version != kVersion)
        return false;
    for (;;) {
        quint8 mark = 0;
        in >> mark;
        if (in.status() != QDataStream::Ok)
            return false;
        if (mark == kEndMark)
            return true;
        if (mark != kPageMark)
            return false;
        m_offsets.append(m_file.pos());
        Page skipped;
        in >> skipped;
    }
}

Page PreviewDocument::page(int index)
{
    Page page;
    if (index < 0 || index >= m_offsets.size() || !m_file.seek(m_offsets.at(index)))
        return page;
    QDataStream in(&m_file);
    in.setVersion(QDataStream::Qt_6_4);
    in >> page;
    return page;
}

}
