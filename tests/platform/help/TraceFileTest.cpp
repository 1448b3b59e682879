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

// A program folder and the temporary folder inside a test folder.
class TraceFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTemp = qgetenv("TMPDIR");
        QDir().mkpath(programFolder());
        QDir().mkpath(m_dir.filePath("tmp"));
        qputenv("TMPDIR", m_dir.filePath("tmp").toUtf8());
    }
    void TearDown() override
    {
        chmod(QFile::encodeName(programFolder()).constData(), 0755);
        qputenv("TMPDIR", m_oldTemp);
    }

    QString programFolder() const { return m_dir.filePath("programm"); }
    QString tempFolder() const { return m_dir.filePath("tmp/tintlen-" + QString::number(geteuid())); }

    QTemporaryDir m_dir;
    QByteArray m_oldTemp;
};

} // namespace

TEST_F(TraceFileTest, TheProgramFolderTakesTheTraceAndKeepsNoTestFile)
{
    EXPECT_EQ(TraceFolder(programFolder()), programFolder());
    EXPECT_EQ(TraceFolder(programFolder() + "/"), programFolder());
    EXPECT_TRUE(QDir(programFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(tempFolder())) << "no folder is made where none is needed";
}

TEST_F(TraceFileTest, AProgramFolderWithoutRoomSendsTheTraceToTheUsersOwnTemporaryFolder)
{
    EXPECT_EQ(TraceFolder(m_dir.filePath("fehlt")), tempFolder());
    struct stat info;
    ASSERT_EQ(stat(QFile::encodeName(tempFolder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    if (geteuid() != 0) {
        chmod(QFile::encodeName(programFolder()).constData(), 0555);
        EXPECT_EQ(TraceFolder(programFolder()), tempFolder()) << "a read-only program folder";
    }

    // A temporary folder someone else could write into, or one reached
    // through a link, is not used.
    chmod(QFile::encodeName(tempFolder()).constData(), 0777);
    EXPECT_EQ(TraceFolder(m_dir.filePath("fehlt")), QString());
    QDir(tempFolder()).removeRecursively();
    QDir().mkpath(m_dir.filePath("elsewhere"));
    ASSERT_TRUE(QFile::link(m_dir.filePath("elsewhere"), tempFolder()));
    EXPECT_EQ(TraceFolder(m_dir.filePath("fehlt")), QString());
}

TEST_F(TraceFileTest, AppendsAndCreatesFilesForTheUserAlone)
{
    const QString path = TraceFolder(programFolder()) + "/HHDebug.txt";
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
    const QString path = TraceFolder(programFolder()) + "/HHDebug.txt";
    ASSERT_TRUE(QFile::link(victim, path));
    EXPECT_FALSE(AppendToTraceFile(path, "Zeile\r\n"));
    EXPECT_EQ(testFileContent(victim), "wichtig");

    RemoveTraceFile(path);
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(testFileContent(victim), "wichtig");
}
