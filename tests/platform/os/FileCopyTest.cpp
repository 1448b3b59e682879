#include "platform/os/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FileCopyTest : public testing::Test
{
protected:
    void SetUp() override { QDir(dir.path()).mkpath("Ziel"); }

    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray read(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<fehlt>");
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(FileCopyTest, CopiesWholeFilesIntoFilesOrFolders)
{
    QByteArray big(3 * 0x2000 + 17, 'x');
    big[0] = '\0';
    write("Rechnung.lst", big);
    EXPECT_EQ(os::copyFile(dir.filePath("RECHNUNG.LST"), dir.filePath("ziel")).error, os::CopyError::None);
    EXPECT_EQ(read("Ziel/Rechnung.lst"), big);
    write("Ziel/Neu.lst", "alt");
    EXPECT_EQ(os::copyFile(dir.filePath("Rechnung.lst"), dir.filePath("Ziel\\neu.lst")).error, os::CopyError::None);
    EXPECT_EQ(read("Ziel/Neu.lst"), big);
}

TEST_F(FileCopyTest, RefusesToCopyAFileOntoItself)
{
    write("Angebot.lst", "Inhalt");
    const os::CopyOutcome outcome = os::copyFile(dir.filePath("Angebot.lst"), dir.filePath("ANGEBOT.lst"));
    EXPECT_EQ(outcome.error, os::CopyError::SameFile);
    EXPECT_EQ(read("Angebot.lst"), "Inhalt");
    EXPECT_EQ(os::copyFile(dir.filePath("Angebot.lst"), dir.path()).error, os::CopyError::SameFile);
    EXPECT_EQ(read("Angebot.lst"), "Inhalt");
}

TEST_F(FileCopyTest, FailuresNameTheFileAndLeaveNothingBehind)
{
    const os::CopyOutcome missing = os::copyFile(dir.filePath("fehlt.lst"), dir.filePath("Ziel"));
    EXPECT_EQ(missing.error, os::CopyError::SourceUnreadable);
    EXPECT_EQ(missing.message, QStringLiteral("Kann Datei nicht öffnen: ") + dir.filePath("fehlt.lst"));
    write("a.lst", "a");
    const QString badTarget = dir.filePath("kein/Ordner/a.lst");
    const os::CopyOutcome unwritable = os::copyFile(dir.filePath("a.lst"), badTarget);
    EXPECT_EQ(unwritable.error, os::CopyError::TargetUnwritable);
    EXPECT_EQ(unwritable.message, QStringLiteral("Kann Zieldatei nicht anlegen: ") + badTarget);
    EXPECT_EQ(QDir(dir.filePath("Ziel")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

TEST_F(FileCopyTest, DeletesMatchingFilesOnly)
{
    write("Ziel/Rechnung.lst", "1");
    write("Ziel/rechnung.LBL", "2");
    write("Ziel/Angebot.lst", "3");
    QDir(dir.path()).mkpath("Ziel/Rechnung.lxx");
    EXPECT_EQ(os::deleteFiles(dir.filePath("Ziel/RECHNUNG.l*")), 2);
    EXPECT_EQ(QDir(dir.filePath("Ziel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"Angebot.lst", "Rechnung.lxx"}));
    EXPECT_EQ(os::deleteFiles(dir.filePath("Fehlt/*.*")), 0);
}
