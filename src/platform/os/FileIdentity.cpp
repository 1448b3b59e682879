#include "platform/os/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace os {

std::optional<FileIdentity> identifyFile(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
}

}
