#pragma once

#include "platform/help/ChmHelpFile.h"

#include <QWidget>

#include <memory>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace help {

class HelpBrowser;

// The help window: the file's table of contents beside the page shown.
class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    explicit HelpViewer(std::unique_ptr<ChmHelpFile> file, QWidget *parent = nullptr);
    ~HelpViewer() override;

    const ChmHelpFile &file() const { return *m_file; }
    // Shows the number's topic; a number that finds none shows the start
    // page with a notice above it naming the number.
    void showContext(quint32 context);
    void showTopic(const QString &storedPath);

    HelpBrowser *browser() const { return m_browser; }
    QTreeWidget *contents() const { return m_contents; }
    // The notice shown above the page; empty when none is shown.
    QString notice() const;

private:
    void markShownTopic(const QUrl &shownUrl);
    void fillContents(QTreeWidgetItem *parent, const QList<HelpTopic> &topics);
    void showNotice(const QString &text);

    std::unique_ptr<ChmHelpFile> m_file;
    QTreeWidget *m_contents;
    QLabel *m_notice;
    HelpBrowser *m_browser;
};

} // namespace help
