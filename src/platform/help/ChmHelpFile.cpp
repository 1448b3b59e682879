#include "platform/help/ChmHelpFile.h"

#include <QFileInfo>

namespace help {

namespace {

bool isPage(const QString &objectPath)
{
    return objectPath.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)
           || objectPath.endsWith(QLatin1String(".html"), Qt::CaseInsensitive);
}

// The stored contents file, or the first ".hhc" when the header names none.
QString contentsFileOf(const ChmArchive &archive, const QString &named)
{
    if (!named.isEmpty())
        return archive.resolve(named);
    for (const QString &path : archive.contentPaths()) {
        if (path.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive))
            return path;
    }
    return QString();
}

} // namespace

std::unique_ptr<ChmHelpFile> ChmHelpFile::open(const QString &path)
{
    std::unique_ptr<ChmArchive> archive = ChmArchive::open(path);
    if (!archive)
        return nullptr;
    return std::unique_ptr<ChmHelpFile>(new ChmHelpFile(std::move(archive)));
}

ChmHelpFile::ChmHelpFile(std::unique_ptr<ChmArchive> archive) : m_archive(std::move(archive))
{
    const ChmSystemInfo system = parseSystemInfo(m_archive->read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));
    m_title = system.title.isEmpty() ? QFileInfo(m_archive->fileName()).fileName() : system.title;
    const QString contents = contentsFileOf(*m_archive, system.contentsFile);
    m_topics = contents.isEmpty() ? pageTopics() : resolvedTopics(parseSitemap(readText(contents)));
    m_defaultTopic = system.defaultTopic.isEmpty() ? QString() : resolveReference(system.defaultTopic);
    if (m_defaultTopic.isEmpty())
        m_defaultTopic = firstPage();
    m_contextMap = parseContextMap(m_archive->read(QStringLiteral("/#IVB")).value_or(QByteArray()),
                                   m_archive->read(QStringLiteral("/#STRINGS")).value_or(QByteArray()));
}

QString ChmHelpFile::topicOfContext(quint32 context) const
{
    const auto found = m_contextMap.constFind(context);
    return found == m_contextMap.cend() ? QString() : resolveReference(*found);
}

// A reference keeps its anchor; only the page part is looked up.
QString ChmHelpFile::resolveReference(const QString &reference) const
{
    const qsizetype hash = reference.indexOf(QLatin1Char('#'));
    const QString page = m_archive->resolve(hash < 0 ? reference : reference.left(hash));
    if (page.isEmpty() || hash < 0)
        return page;
    return page + reference.mid(hash);
}

QList<HelpTopic> ChmHelpFile::resolvedTopics(const QList<HelpTopic> &topics) const
{
    QList<HelpTopic> resolved;
    for (const HelpTopic &topic : topics) {
        HelpTopic copy = topic;
        copy.reference = topic.reference.isEmpty() ? QString() : resolveReference(topic.reference);
        copy.children = resolvedTopics(topic.children);
        resolved.append(copy);
    }
    return resolved;
}

QList<HelpTopic> ChmHelpFile::pageTopics() const
{
    QList<HelpTopic> topics;
    for (const QString &path : m_archive->contentPaths()) {
        if (!isPage(path))
            continue;
        const QString title = pageTitle(readText(path));
        topics.append({title.isEmpty() ? path.mid(1) : title, path, {}});
    }
    return topics;
}

QString ChmHelpFile::readText(const QString &objectPath) const
{
    return decodeHelpText(m_archive->read(objectPath).value_or(QByteArray()));
}

QString ChmHelpFile::firstPage() const
{
    for (const QString &path : m_archive->contentPaths()) {
        if (isPage(path))
            return path;
    }
    return QString();
}

} // namespace help
