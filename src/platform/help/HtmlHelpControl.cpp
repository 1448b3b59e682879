#include "platform/help/HtmlHelpControl.h"

#include "platform/help/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <dlfcn.h>
#include <link.h>

namespace help {

namespace {

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

// The windows live until the program ends or they are closed; a window whose
// viewer has ended is started again by its next request.
QList<QPointer<HelpWindow>> &windows()
{
    static QList<QPointer<HelpWindow>> open;
    open.removeAll(nullptr);
    return open;
}

HelpWindow *windowFor(QWidget *owner, const TopicPath &topic)
{
    const QString file = QFileInfo(topic.file).absoluteFilePath();
    for (HelpWindow *window : std::as_const(windows())) {
        if (window->helpFile() == file && window->windowName() == topic.window)
            return window;
    }
    auto *window = new HelpWindow(file, topic.window, owner);
    windows().append(window);
    return window;
}

QWidget *showContext(QWidget *owner, const QString &path, qintptr context)
{
    const TopicPath topic = splitTopicPath(path);
    if (const QString fault = HelpFileFault(topic.file); !fault.isEmpty()) {
        ReportHelpFileFailure(QFileInfo(topic.file).absoluteFilePath(), fault);
        return nullptr;
    }
    HelpWindow *window = windowFor(owner, topic);
    return window->showContext(quint32(context)) ? window : nullptr;
}

void closeAll()
{
    for (HelpWindow *window : std::as_const(windows()))
        window->closeViewer();
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

// Only the file's signature is read here: the archive itself is decoded by
// the viewer's process, where a damaged file can do no harm.
QString HelpFileFault(const QString &file)
{
    QFile help(file);
    if (!QFileInfo(help).isFile())
        return QStringLiteral("Die Datei ist nicht vorhanden.");
    if (!help.open(QIODevice::ReadOnly))
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    return help.read(4) == "ITSF" ? QString() : NotAHelpFileText();
}

QList<HelpWindow *> HelpWindows()
{
    QList<HelpWindow *> open;
    for (HelpWindow *window : std::as_const(windows())) {
        if (window->isOpen())
            open.append(window);
    }
    return open;
}

namespace {

QString loadedLibraryPath()
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

} // namespace

// Looked up among the loaded objects by name: the address of one of its
// functions may name the program itself, where the call is linked. The
// program itself decodes no help file, so the library may not be loaded
// yet; loading it reads no file.
QString HelpLibraryPath()
{
    const QString loaded = loadedLibraryPath();
    if (!loaded.isEmpty() || !dlopen("libchm.so.1", RTLD_LAZY))
        return loaded;
    return loadedLibraryPath();
}

} // namespace help
