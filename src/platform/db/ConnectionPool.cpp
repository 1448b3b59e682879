#include "platform/db/ConnectionPool.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

#include <pthread.h>
#include <unistd.h>

namespace db {

namespace {

constexpr int keptConnections = 16;

struct Kept
{
    QString path;
    os::FileIdentity identity;
    pid_t process;
    std::unique_ptr<Connection> connection;
};

// Never destroyed: at exit nothing is left to write, and a forked child must
// not close the connections it inherited.
std::vector<Kept> &kept()
{
    static auto *connections = new std::vector<Kept>;
    return *connections;
}

// getpid() is a system call on every opening; the process only changes
// across a fork, where the child refreshes it.
pid_t currentProcess()
{
    static pid_t process = [] {
        pthread_atfork(nullptr, nullptr, [] { process = getpid(); });
        return getpid();
    }();
    return process;
}

void drop(std::vector<Kept> &connections, std::size_t index)
{
    if (connections[index].process != currentProcess())
        (void)connections[index].connection.release();
    connections.erase(connections.begin() + std::ptrdiff_t(index));
}

// A table opens the same file again and again: the last absolute spelling's
// key is kept, as working it out again costs more than the comparison (a
// relative one depends on the working folder and is worked out each time).
QString key(const QString &path)
{
    static QString lastPath, lastKey;
    if (!lastPath.isEmpty() && path == lastPath)
        return lastKey;
    if (!QDir::isAbsolutePath(path))
        return QFileInfo(path).absoluteFilePath();
    lastKey = QDir::cleanPath(path);
    lastPath = path;
    return lastKey;
}

}

std::unique_ptr<Connection> ConnectionPool::acquire(const QString &path,
                                                    const std::optional<os::FileIdentity> &identity, bool readOnly)
{
    std::vector<Kept> &connections = kept();
    if (identity) {
        const QString wanted = key(path);
        const pid_t process = currentProcess();
        for (std::size_t i = connections.size(); i-- > 0;) {
            Kept &entry = connections[i];
            if (entry.path != wanted || entry.process != process)
                continue;
            if (!(entry.identity == *identity)) {
                drop(connections, i);
                continue;
            }
            if (entry.connection->readOnly() != readOnly)
                continue;
            std::unique_ptr<Connection> connection = std::move(entry.connection);
            connections.erase(connections.begin() + std::ptrdiff_t(i));
            return connection;
        }
    }
    return Connection::openExisting(path, readOnly);
}

void ConnectionPool::release(std::unique_ptr<Connection> connection, const os::FileIdentity &identity)
{
    if (!connection || connection->inTransaction())
        return;
    std::vector<Kept> &connections = kept();
    const QString path = key(connection->path());
    connections.push_back(Kept{path, identity, currentProcess(), std::move(connection)});
    while (connections.size() > keptConnections)
        drop(connections, 0);
}

void ConnectionPool::forget(const QString &path)
{
    const QString unwanted = key(path);
    std::vector<Kept> &connections = kept();
    for (std::size_t i = connections.size(); i-- > 0;)
        if (connections[i].path == unwanted)
            drop(connections, i);
}

}
