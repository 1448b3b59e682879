#include "platform/help/TraceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace help {

namespace {

// The name the writability test creates and removes again.
const QString kProbeName = QStringLiteral("$_Temp_$.$$$");

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

bool isPrivateFolder(const QString &folder)
{
    struct stat info;
    if (lstat(nativePath(folder).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool canCreateFileIn(const QString &folder)
{
    const QByteArray probe = nativePath(folder + QLatin1Char('/') + kProbeName);
    const int fd = open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    close(fd);
    unlink(probe.constData());
    return true;
}

bool makePrivateFolder(const QString &folder)
{
    QDir().mkpath(QFileInfo(folder).path());
    mkdir(nativePath(folder).constData(), 0700);
    return isPrivateFolder(folder) && canCreateFileIn(folder);
}

QString temporaryFolder()
{
    return QDir::cleanPath(QDir::tempPath() + QStringLiteral("/tintlen-") + QString::number(geteuid()));
}

bool isOwnRegularFile(int fd)
{
    struct stat info;
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

QString TraceFolder(const QString &programFolder)
{
    if (!programFolder.isEmpty() && canCreateFileIn(programFolder))
        return QDir::cleanPath(programFolder);
    const QString temporary = temporaryFolder();
    return makePrivateFolder(temporary) ? temporary : QString();
}

bool AppendToTraceFile(const QString &path, const QByteArray &bytes)
{
    const int fd = open(nativePath(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = isOwnRegularFile(fd) && writeAll(fd, bytes);
    close(fd);
    return written;
}

void RemoveTraceFile(const QString &path)
{
    unlink(nativePath(path).constData());
}

} // namespace help
