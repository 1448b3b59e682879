#pragma once

#include "platform/help/ChmArchive.h"
#include "platform/help/ChmStructures.h"

#include <QHash>

#include <memory>

namespace help {

// A compiled help file as the viewer sees it: its pages, its table of
// contents, its start page and its context map.
//
// A context number finds its topic through the context map the help
// compiler builds from the project's [MAP] and [ALIAS] sections; the page
// name found there is looked up among the stored pages (see
// ChmArchive::resolve). A number the map lacks, or whose page is not
// stored, finds no topic.
class ChmHelpFile
{
public:
    // nullptr when the file is missing or is no compiled help file.
    static std::unique_ptr<ChmHelpFile> open(const QString &path);

    const ChmArchive &archive() const { return *m_archive; }
    // The file's own title, else its file name.
    QString title() const { return m_title; }
    // The start page as a stored path; empty when the file holds no page.
    QString defaultTopic() const { return m_defaultTopic; }
    // The table of contents with stored paths; without one, every page under
    // its title.
    const QList<HelpTopic> &topics() const { return m_topics; }
    // The stored path of the number's topic (with its "#anchor" when the map
    // names one); empty when the number finds no topic.
    QString topicOfContext(quint32 context) const;

private:
    explicit ChmHelpFile(std::unique_ptr<ChmArchive> archive);
    QString resolveReference(const QString &reference) const;
    QList<HelpTopic> resolvedTopics(const QList<HelpTopic> &topics) const;
    QList<HelpTopic> pageTopics() const;
    QString readText(const QString &objectPath) const;
    QString firstPage() const;

    std::unique_ptr<ChmArchive> m_archive;
    QString m_title;
    QString m_defaultTopic;
    QList<HelpTopic> m_topics;
    QHash<quint32, QString> m_contextMap;
};

} // namespace help
