#include "TestFiles.h"

#include "platform/help/TraceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace help;

namespace {

// Points the per-user state and temporary folders into a test folder.
class TraceFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldState = qgetenv("XDG_STATE_HOME");
        m_oldTemp = qgetenv("TMPDIR");
        QDir().mkpath(m_dir.filePath("state"));
        QDir().mkpath(m_dir.filePath("tmp"));
        qputenv("XDG_STATE_HOME", m_dir.filePath("state").toUtf8());
        qputenv("TMPDIR", m_dir.filePath("tmp").toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_STATE_HOME", m_oldState);
        qputenv("TMPDIR", m_oldTemp);
    }

    QString stateFolder() const { return m_dir.filePath("state/tintlen"); }
    QString tempFolder() const { return m_dir.filePath("tmp/tintlen-" + QString::number(geteuid())); }

    QTemporaryDir m_dir;
    QByteArray m_oldState;
    QByteArray m_oldTemp;
};

} // namespace

TEST_F(TraceFileTest, FolderIsTheUsersOwnAndClosedToOthers)
{
    EXPECT_EQ(UserTraceFolder(), stateFolder());
    struct stat info;
    ASSERT_EQ(stat(QFile::encodeName(stateFolder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(QDir(stateFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(TraceFileTest, LinkedOrOpenFolderFallsBackToTheTemporaryFolder)
{
    QDir().mkpath(m_dir.filePath("elsewhere"));
    ASSERT_TRUE(QFile::link(m_dir.filePath("elsewhere"), stateFolder()));
    EXPECT_EQ(UserTraceFolder(), tempFolder());

    QFile::remove(stateFolder());
    QDir().mkpath(stateFolder());
    chmod(QFile::encodeName(stateFolder()).constData(), 0777);
    EXPECT_EQ(UserTraceFolder(), tempFolder());
}

TEST_F(TraceFileTest, AppendsAndCreatesFilesForTheUserAlone)
{
    const QString path = UserTraceFolder() + "/HHDebug.txt";
    EXPECT_TRUE(AppendToTraceFile(path, "eins\r\n"));
    EXPECT_TRUE(AppendToTraceFile(path, "zwei\r\n"));
    EXPECT_EQ(testFileContent(path), "eins\r\nzwei\r\n");
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    QDir().mkpath(path + "2");
    EXPECT_FALSE(AppendToTraceFile(path + "2", "Zeile\r\n")) << "a folder is no regular file";
    EXPECT_FALSE(AppendToTraceFile(m_dir.filePath("fehlt/HHDebug.txt"), "Zeile\r\n"));
}

TEST_F(TraceFileTest, NeverWritesThroughASymbolicLink)
{
    const QString victim = m_dir.filePath("fremd.txt");
    ASSERT_TRUE(writeTestFile(victim, "wichtig"));
    const QString path = UserTraceFolder() + "/HHDebug.txt";
    ASSERT_TRUE(QFile::link(victim, path));
    EXPECT_FALSE(AppendToTraceFile(path, "Zeile\r\n"));
    EXPECT_EQ(testFileContent(victim), "wichtig");

    RemoveTraceFile(path);
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(testFileContent(victim), "wichtig");
}
