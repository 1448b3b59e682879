#include "platform/help/HelpBrowser.h"

#include "platform/help/ChmArchive.h"
#include "platform/help/ChmStructures.h"
#include "platform/ui/UiServices.h"

#include <QTextDocument>

namespace help {

namespace {

const QString kScheme = QStringLiteral("chm");
const QStringList kDesktopSchemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};

} // namespace

// The browser's own following hands every address with a scheme, "chm:"
// included, to the desktop; so links are followed here.
HelpBrowser::HelpBrowser(const ChmArchive &archive, QWidget *parent) : QTextBrowser(parent), m_archive(archive)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

QUrl HelpBrowser::urlOf(const QString &storedPath)
{
    const qsizetype hash = storedPath.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(hash < 0 ? storedPath : storedPath.left(hash));
    if (hash >= 0)
        url.setFragment(storedPath.mid(hash + 1));
    return url;
}

QString HelpBrowser::currentTopic() const
{
    return topicOf(source());
}

QString HelpBrowser::topicOf(const QUrl &url)
{
    if (url.scheme() != kScheme)
        return QString();
    return url.hasFragment() ? url.path() + QLatin1Char('#') + url.fragment() : url.path();
}

// A page of the file is shown here; a help file must not start the user's
// programs on local files or unknown schemes.
void HelpBrowser::followLink(const QUrl &url)
{
    if (url.scheme() == kScheme)
        setSource(url);
    else if (kDesktopSchemes.contains(url.scheme()))
        ui::services().openUrl(url.toString());
}

// Nothing outside the help file is loaded into a page: a help file must
// not read the user's other files.
QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (name.scheme() != kScheme)
        return QVariant();
    const QString stored = m_archive.resolve(name.path());
    if (stored.isEmpty())
        return QVariant();
    const QByteArray content = m_archive.read(stored).value_or(QByteArray());
    if (type == QTextDocument::ImageResource)
        return content;
    return decodeHelpText(content);
}

} // namespace help
