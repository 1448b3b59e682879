#include "platform/help/HelpViewer.h"

#include "platform/help/HelpBrowser.h"
#include "platform/ui/ScreenPlacement.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace help {

namespace {

constexpr int kReferenceRole = Qt::UserRole;

} // namespace

HelpViewer::HelpViewer(std::unique_ptr<ChmHelpFile> file, QWidget *parent)
    : QWidget(parent, Qt::Window), m_file(std::move(file)), m_contents(new QTreeWidget), m_notice(new QLabel),
      m_browser(new HelpBrowser(m_file->archive()))
{
    setWindowTitle(m_file->title());
    m_contents->header()->hide();
    fillContents(m_contents->invisibleRootItem(), m_file->topics());
    m_notice->setWordWrap(true);
    m_notice->hide();

    auto *page = new QWidget;
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(m_notice);
    pageLayout->addWidget(m_browser);
    auto *splitter = new QSplitter;
    splitter->addWidget(m_contents);
    splitter->addWidget(page);
    splitter->setStretchFactor(1, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    ui::sizeInsideScreen(this, {900, 640});

    // Only a deliberate choice opens an entry: the tree also moves its
    // current entry by itself, when it first gets the focus.
    const auto open = [this](QTreeWidgetItem *item) {
        const QString reference = item->data(0, kReferenceRole).toString();
        if (!reference.isEmpty())
            showTopic(reference);
    };
    connect(m_contents, &QTreeWidget::itemClicked, this, open);
    connect(m_contents, &QTreeWidget::itemActivated, this, open);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpViewer::markShownTopic);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::showContext(quint32 context)
{
    const QString topic = m_file->topicOfContext(context);
    if (topic.isEmpty()) {
        showNotice(tr("Zur Kontextnummer %1 enthält die Hilfedatei kein Thema; "
                      "angezeigt wird die Startseite.")
                       .arg(context));
        showTopic(m_file->defaultTopic());
        return;
    }
    showNotice(QString());
    showTopic(topic);
}

void HelpViewer::showTopic(const QString &storedPath)
{
    if (storedPath.isEmpty()) {
        m_browser->setHtml(tr("<p>Die Hilfedatei enthält keine Seiten.</p>"));
        return;
    }
    m_browser->setSource(HelpBrowser::urlOf(storedPath));
}

QString HelpViewer::notice() const
{
    return m_notice->isVisibleTo(this) ? m_notice->text() : QString();
}

void HelpViewer::fillContents(QTreeWidgetItem *parent, const QList<HelpTopic> &topics)
{
    for (const HelpTopic &topic : topics) {
        auto *item = new QTreeWidgetItem(parent, {topic.title});
        item->setData(0, kReferenceRole, topic.reference);
        fillContents(item, topic.children);
    }
}

// The contents entry of the page shown becomes the tree's current entry.
void HelpViewer::markShownTopic(const QUrl &shownUrl)
{
    const QString shown = HelpBrowser::topicOf(shownUrl);
    const QString page = shown.section(QLatin1Char('#'), 0, 0);
    QTreeWidgetItem *samePage = nullptr;
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        const QString reference = (*it)->data(0, kReferenceRole).toString();
        if (reference == shown) {
            m_contents->setCurrentItem(*it);
            return;
        }
        if (!samePage && reference.section(QLatin1Char('#'), 0, 0) == page)
            samePage = *it;
    }
    if (samePage)
        m_contents->setCurrentItem(samePage);
}

void HelpViewer::showNotice(const QString &text)
{
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

} // namespace help
