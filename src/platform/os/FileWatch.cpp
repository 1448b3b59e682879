#include "platform/os/FileWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <unordered_map>

#include <fcntl.h>
#include <linux/magic.h>
#include <pthread.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace os {

namespace {

// A path leads elsewhere only once a file or folder on its way was moved
// or removed (a file replaced by a rename loses a link, a change to its
// attributes), or a mount changed: what happens inside the folders, such
// as journals coming and going, need not wake anybody.
constexpr uint32_t fileEvents = IN_MODIFY | IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF;
constexpr uint32_t folderEvents = IN_MOVE_SELF | IN_DELETE_SELF | IN_ONLYDIR;
// More files than a session opens; a process that meets more starts over.
constexpr int watchedFiles = 512;

// The kernel reports changes to files on local disks; on a network share
// another computer changes the file unseen.
bool reportsChanges(const QByteArray &path)
{
    struct statfs info;
    if (::statfs(path.constData(), &info) != 0)
        return false;
    switch (info.f_type) {
    case EXT4_SUPER_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

// The whole way from the root is watched, so the path must lead there
// without a symbolic link whose target could change unseen.
bool watchablePath(const QString &path)
{
    return QDir::isAbsolutePath(path) && QDir::cleanPath(path) == path && QFileInfo(path).canonicalFilePath() == path
           && reportsChanges(QFile::encodeName(path));
}

// Whether `path` is `changed` or lies inside it.
bool within(const QString &path, const QString &changed)
{
    if (!path.startsWith(changed))
        return false;
    return path.size() == changed.size() || changed.endsWith(QLatin1Char('/')) || path[changed.size()] == u'/';
}

class Watcher
{
public:
    Watcher() { start(); }

    FileLook look(const QString &path);
    void forked() { m_forked = true; }

private:
    struct Entry
    {
        FileIdentity identity;
        quint64 generation = 0;
        bool known = false;
        bool watchable = true;
    };

    void start();
    void stop(bool shared);
    FileLook lookAgain(const QString &path);
    bool watch(const QString &path);
    void takeReports();
    void readEvents();
    void handle(const inotify_event &event);
    void changedWithin(const QString &changed);
    void changedAll();
    void changed(Entry &entry, bool contentOnly)
    {
        entry.generation = m_nextGeneration++;
        entry.known = entry.known && contentOnly;
    }

    int m_inotify = -1;
    int m_mounts = -1;
    int m_poll = -1;
    bool m_forked = false;
    QHash<QString, Entry> m_entries;
    std::unordered_map<int, QString> m_folders;
    std::unordered_map<int, QStringList> m_files;
    quint64 m_nextGeneration = 1;
};

// One poll tells whether anything was reported at all: the file events and
// a change of the mounts (a share mounted over a folder on the way).
void Watcher::start()
{
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_mounts = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    m_poll = epoll_create1(EPOLL_CLOEXEC);
    epoll_event onEvents{EPOLLIN, {.fd = m_inotify}};
    epoll_event onMounts{EPOLLPRI, {.fd = m_mounts}};
    if (m_inotify < 0 || m_mounts < 0 || m_poll < 0 || epoll_ctl(m_poll, EPOLL_CTL_ADD, m_inotify, &onEvents) != 0
        || epoll_ctl(m_poll, EPOLL_CTL_ADD, m_mounts, &onMounts) != 0)
        stop(false);
}

// A forked child shares the parent's instances: it only lets go of them.
void Watcher::stop(bool shared)
{
    for (int *descriptor : {&m_poll, &m_inotify, &m_mounts}) {
        if (*descriptor >= 0 && !shared)
            ::close(*descriptor);
        *descriptor = -1;
    }
    m_entries.clear();
    m_folders.clear();
    m_files.clear();
}

FileLook Watcher::look(const QString &path)
{
    if (m_forked || m_entries.size() >= watchedFiles) {
        stop(std::exchange(m_forked, false));
        start();
    }
    takeReports();
    const auto found = m_entries.constFind(path);
    if (found != m_entries.constEnd() && found->known)
        return {found->identity, found->generation};
    return lookAgain(path);
}

// Watching starts before the look at the disk, so that whatever happens
// after the look is reported.
FileLook Watcher::lookAgain(const QString &path)
{
    auto found = m_entries.find(path);
    const bool watchable = m_poll >= 0 && (found == m_entries.end() || found->watchable) && watch(path);
    const std::optional<FileIdentity> identity = identifyFile(path);
    if (!identity) {
        m_entries.remove(path);
        return {};
    }
    Entry &entry = m_entries[path];
    entry.identity = *identity;
    entry.watchable = watchable;
    entry.known = watchable;
    entry.generation = watchable ? m_nextGeneration++ : 0;
    return {identity, entry.generation};
}

bool Watcher::watch(const QString &path)
{
    if (!watchablePath(path))
        return false;
    for (qsizetype slash = path.indexOf(QLatin1Char('/')); slash >= 0 && slash + 1 < path.size();
         slash = path.indexOf(QLatin1Char('/'), slash + 1)) {
        const QString folder = slash == 0 ? QStringLiteral("/") : path.left(slash);
        const int descriptor = inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(), folderEvents);
        if (descriptor < 0)
            return false;
        m_folders[descriptor] = folder;
    }
    const int descriptor = inotify_add_watch(m_inotify, QFile::encodeName(path).constData(), fileEvents);
    if (descriptor < 0)
        return false;
    QStringList &paths = m_files[descriptor];
    if (!paths.contains(path))
        paths.append(path);
    return true;
}

void Watcher::takeReports()
{
    if (m_poll < 0)
        return;
    epoll_event ready[2];
    const int count = epoll_wait(m_poll, ready, 2, 0);
    for (int i = 0; i < count; ++i) {
        if (ready[i].data.fd == m_inotify)
            readEvents();
        else
            changedAll();
    }
}

void Watcher::readEvents()
{
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            handle(*event);
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

// Written files keep their identity; anything else on the way to them
// makes the next look ask the disk.
void Watcher::handle(const inotify_event &event)
{
    if (event.mask & IN_Q_OVERFLOW) {
        changedAll();
        return;
    }
    if (const auto file = m_files.find(event.wd); file != m_files.end()) {
        for (const QString &path : std::as_const(file->second))
            if (const auto entry = m_entries.find(path); entry != m_entries.end())
                changed(*entry, event.mask == IN_MODIFY);
        if (event.mask & IN_IGNORED)
            m_files.erase(file);
        return;
    }
    const auto folder = m_folders.find(event.wd);
    if (folder == m_folders.end())
        return;
    changedWithin(folder->second);
    if (event.mask & IN_IGNORED)
        m_folders.erase(folder);
}

void Watcher::changedWithin(const QString &changedPath)
{
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry)
        if (within(entry.key(), changedPath))
            changed(*entry, false);
}

void Watcher::changedAll()
{
    for (Entry &entry : m_entries)
        changed(entry, false);
}

Watcher &watcher()
{
    static Watcher *instance = [] {
        pthread_atfork(nullptr, nullptr, [] { watcher().forked(); });
        return new Watcher;
    }();
    return *instance;
}

}

FileLook lookAtFile(const QString &path)
{
    return watcher().look(path);
}

}
