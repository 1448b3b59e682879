#include "platform/runtime/ReplacingFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace runtime {

namespace {

const QString kMarker = QStringLiteral(".tintlen-");

QString temporaryName(const QString &targetName, qint64 pid, int serial)
{
    return QStringLiteral(".%1%2%3-%4.tmp").arg(targetName, kMarker).arg(pid).arg(serial);
}

bool processHasEnded(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

int nextSerial()
{
    static std::atomic<int> serial = 0;
    return ++serial;
}

// Creates the file exclusively with 0666 less the umask; a replaced file's
// own permissions carry over.
int createExclusively(const QString &path, const QString &targetPath)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    struct stat existing = {};
    if (fd >= 0 && ::stat(QFile::encodeName(targetPath).constData(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);
    return fd;
}

} // namespace

ReplacingFile::ReplacingFile(const QString &targetPath) : m_targetPath(targetPath)
{}

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::open()
{
    for (const QString &stale : staleTemporaries(m_targetPath))
        QFile::remove(stale);
    const QFileInfo target(m_targetPath);
    m_temporaryPath = target.absoluteDir().filePath(
        temporaryName(target.fileName(), QCoreApplication::applicationPid(), nextSerial()));
    const int fd = createExclusively(m_temporaryPath, m_targetPath);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        m_temporaryPath.clear();
        return false;
    }
    if (!m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        m_error = m_file.errorString();
        discard();
        return false;
    }
    return true;
}

bool ReplacingFile::commit()
{
    // A write that a full disk cut short is not always reported by the
    // device, so the size on disk is compared with what was written.
    const bool written = m_file.isOpen() && m_file.flush() && m_file.error() == QFileDevice::NoError
                         && m_file.size() == m_file.pos() && ::fsync(m_file.handle()) == 0;
    if (!written) {
        m_error = m_file.errorString();
        discard();
        return false;
    }
    m_file.close();
    if (std::rename(QFile::encodeName(m_temporaryPath).constData(), QFile::encodeName(m_targetPath).constData()) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        discard();
        return false;
    }
    m_temporaryPath.clear();
    return true;
}

void ReplacingFile::discard()
{
    if (m_file.isOpen())
        m_file.close();
    if (!m_temporaryPath.isEmpty())
        QFile::remove(m_temporaryPath);
    m_temporaryPath.clear();
}

QStringList staleTemporaries(const QString &targetPath)
{
    const QFileInfo target(targetPath);
    const QRegularExpression ours(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(QLatin1Char('.') + target.fileName() + kMarker)
                                            + QStringLiteral("(\\d+)-\\d+\\.tmp")));
    QStringList stale;
    const QDir folder = target.absoluteDir();
    for (const QString &entry : folder.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = ours.match(entry);
        if (match.hasMatch() && processHasEnded(match.captured(1).toLongLong()))
            stale.append(folder.filePath(entry));
    }
    return stale;
}

} // namespace runtime
