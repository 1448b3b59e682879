#pragma once

#include <QString>

#include <optional>

namespace os {

// Which file a path leads to, by one stat: a file replaced, or deleted and
// created anew, is another one.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileIdentity &other) const = default;
};

// Nothing when no file is there.
std::optional<FileIdentity> identifyFile(const QString &path);

}
