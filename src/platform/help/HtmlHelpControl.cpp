#include "platform/help/HtmlHelpControl.h"

#include "platform/help/ChmArchive.h"
#include "platform/help/HelpViewer.h"

#include <QFileInfo>
#include <QPointer>

#include <link.h>

namespace help {

namespace {

const char *const kWindowProperty = "helpWindowName";

struct TopicPath
{
    QString file;
    QString window;
};

// A window name follows the file's last ">" when the part before it is an
// existing file; a file name may itself contain ">".
TopicPath splitTopicPath(const QString &path)
{
    const qsizetype marker = path.lastIndexOf(QLatin1Char('>'));
    if (marker > 0 && QFileInfo(path.left(marker)).isFile())
        return {path.left(marker), path.mid(marker + 1)};
    return {path, QString()};
}

QList<QPointer<HelpViewer>> &viewers()
{
    static QList<QPointer<HelpViewer>> open;
    open.removeAll(nullptr);
    return open;
}

HelpViewer *findViewer(const TopicPath &topic)
{
    const QString file = QFileInfo(topic.file).absoluteFilePath();
    for (HelpViewer *viewer : HelpWindows()) {
        if (QFileInfo(viewer->file().archive().fileName()).absoluteFilePath() == file
            && viewer->property(kWindowProperty).toString() == topic.window)
            return viewer;
    }
    return nullptr;
}

HelpViewer *openViewer(QWidget *owner, const TopicPath &topic)
{
    if (HelpViewer *viewer = findViewer(topic))
        return viewer;
    std::unique_ptr<ChmHelpFile> file = ChmHelpFile::open(topic.file);
    if (!file)
        return nullptr;
    auto *viewer = new HelpViewer(std::move(file), owner);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setProperty(kWindowProperty, topic.window);
    viewers().append(viewer);
    return viewer;
}

QWidget *showContext(QWidget *owner, const QString &path, qintptr context)
{
    HelpViewer *viewer = openViewer(owner, splitTopicPath(path));
    if (!viewer)
        return nullptr;
    viewer->showContext(quint32(context));
    viewer->show();
    return viewer;
}

void closeAll()
{
    for (HelpViewer *viewer : HelpWindows())
        viewer->close();
}

} // namespace

QWidget *HtmlHelp(QWidget *owner, const QString &path, unsigned command, qintptr data)
{
    if (command == HH_HELP_CONTEXT)
        return showContext(owner, path, data);
    if (command == HH_CLOSE_ALL)
        closeAll();
    return nullptr;
}

bool CanOpenHelpFile(const QString &path)
{
    return ChmArchive::open(splitTopicPath(path).file) != nullptr;
}

QList<HelpViewer *> HelpWindows()
{
    QList<HelpViewer *> open;
    for (const QPointer<HelpViewer> &viewer : viewers()) {
        if (viewer->isVisible())
            open.append(viewer);
    }
    return open;
}

// Looked up among the loaded objects by name: the address of one of its
// functions may name the program itself, where the call is linked.
QString HelpLibraryPath()
{
    QString found;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *result) {
            const QString path = QFile::decodeName(info->dlpi_name);
            if (!QFileInfo(path).fileName().startsWith(QLatin1String("libchm.so")))
                return 0;
            *static_cast<QString *>(result) = QFileInfo(path).absoluteFilePath();
            return 1;
        },
        &found);
    return found;
}

} // namespace help
