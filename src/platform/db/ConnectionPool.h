#pragma once

#include "platform/db/SqliteConnection.h"
#include "platform/os/FileIdentity.h"

#include <QString>

#include <memory>

namespace db {

// Keeps the connections of closed tables for the next opening of the same
// file: print jobs open the same few tables again and again, and a kept
// connection has read the schema and prepared its statements already. A
// kept connection holds no lock and no transaction; it is handed out again
// only to the same process for the same, unreplaced file. The caller has
// looked at the file once (its identity) and tells it, so that neither end
// asks the file system again.
class ConnectionPool
{
public:
    static std::unique_ptr<Connection> acquire(const QString &path, const std::optional<os::FileIdentity> &identity,
                                               bool readOnly);
    static void release(std::unique_ptr<Connection> connection, const os::FileIdentity &identity);
    // The file was replaced or removed: its kept connections go.
    static void forget(const QString &path);
};

}
