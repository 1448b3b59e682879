#include "platform/runtime/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList temporariesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tintlen-*")}, QDir::Files | QDir::Hidden);
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    runtime::ReplacingFile file(path);
    return file.open() && file.file().write(bytes) == bytes.size() && file.commit();
}

mode_t modeOf(const QString &path)
{
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ReplacingFile, AWriterKilledHalfWayLeavesTheOldFileAndTheNextWriterClearsUp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Liste.pdf"));
    ASSERT_TRUE(writeWhole(path, "alt"));
    for (int killed = 0; killed < 3; ++killed) {
        const pid_t child = ::fork();
        if (child == 0) {
            runtime::ReplacingFile file(path);
            if (file.open())
                file.file().write("halb");
            file.file().flush();
            ::kill(::getpid(), SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    // Each new writer removed what the one killed before it had left.
    EXPECT_EQ(temporariesIn(dir.path()).size(), 1);
    EXPECT_EQ(contentOf(path), "alt");
    // One of a process that still runs is left alone.
    runtime::ReplacingFile running(path);
    ASSERT_TRUE(running.open());
    ASSERT_TRUE(writeWhole(path, "neu"));
    EXPECT_EQ(temporariesIn(dir.path()), (QStringList{QFileInfo(running.temporaryPath()).fileName()}));
    EXPECT_EQ(contentOf(path), "neu");
    running.discard();
    EXPECT_TRUE(temporariesIn(dir.path()).isEmpty());
}

TEST(ReplacingFile, NewFilesFollowTheUmaskAndReplacedOnesKeepTheirPermissions)
{
    QTemporaryDir dir;
    const mode_t saved = ::umask(022);
    const QString created = dir.filePath(QStringLiteral("neu.txt"));
    EXPECT_TRUE(writeWhole(created, "x"));
    EXPECT_EQ(modeOf(created), mode_t(0644));
    ::umask(002);
    const QString shared = dir.filePath(QStringLiteral("gruppe.txt"));
    EXPECT_TRUE(writeWhole(shared, "x"));
    EXPECT_EQ(modeOf(shared), mode_t(0664));
    ::chmod(QFile::encodeName(created).constData(), 0600);
    EXPECT_TRUE(writeWhole(created, "y"));
    EXPECT_EQ(modeOf(created), mode_t(0600));
    ::umask(saved);
}

} // namespace
