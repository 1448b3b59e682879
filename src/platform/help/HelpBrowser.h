#pragma once

#include <QTextBrowser>

namespace help {

class ChmArchive;

// Shows pages stored in a compiled help file. Pages, style sheets and
// images are read from the file through "chm:" addresses, so links and
// pictures inside the file work without unpacking it; links to the web
// and to mail addresses open in the desktop's programs, other addresses
// nowhere.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    HelpBrowser(const ChmArchive &archive, QWidget *parent = nullptr);

    static QUrl urlOf(const QString &storedPath);
    // The stored path (with "#anchor") an address names; empty for others.
    static QString topicOf(const QUrl &url);
    // The stored path of the page shown, with its "#anchor"; empty when none.
    QString currentTopic() const;

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void followLink(const QUrl &url);

    const ChmArchive &m_archive;
};

} // namespace help
