#include "platform/os/FileWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace {

// The file looked at lies two folders deep, so that changes to the folders
// on its way can be made.
class FileWatchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = QFileInfo(dir.path()).canonicalFilePath();
        QDir(root).mkpath(QStringLiteral("Firma/Daten"));
        write(QStringLiteral("Firma/Daten/atrpos.db"), "alt");
    }

    QString at(const QString &relative) const { return root + QLatin1Char('/') + relative; }

    void write(const QString &relative, const QByteArray &bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly)
    {
        QFile file(at(relative));
        ASSERT_TRUE(file.open(mode));
        file.write(bytes);
    }

    void move(const QString &from, const QString &to)
    {
        ASSERT_EQ(std::rename(QFile::encodeName(at(from)).constData(), QFile::encodeName(at(to)).constData()), 0);
    }

    QTemporaryDir dir;
    QString root;
};

} // namespace

TEST_F(FileWatchTest, ALookAsksTheDiskAgainWhenTheFileOrTheWayToItChanged)
{
    const QString file = QStringLiteral("Firma/Daten/atrpos.db");
    struct Case
    {
        const char *change;
        std::function<void()> apply;
        bool sameFile;
        bool unchanged;
    };
    const Case cases[] = {
        {"nothing", [] {}, true, true},
        {"a neighbour written", [&] { write(QStringLiteral("Firma/Daten/atrpos.db-journal"), "j"); }, true, true},
        {"the file written", [&] { write(file, "neu", QIODevice::Append); }, true, false},
        {"the file replaced by a rename",
         [&] {
             write(QStringLiteral("Firma/Daten/neu.db"), "neu");
             move(QStringLiteral("Firma/Daten/neu.db"), file);
         },
         false, false},
        {"the file moved away and made anew",
         [&] {
             move(file, QStringLiteral("Firma/Daten/atrpos.bak"));
             write(file, "neu");
         },
         false, false},
        {"its folder swapped for another",
         [&] {
             QDir(root).mkpath(QStringLiteral("Neu"));
             write(QStringLiteral("Neu/atrpos.db"), "neu");
             move(QStringLiteral("Firma/Daten"), QStringLiteral("Firma/Alt"));
             move(QStringLiteral("Neu"), QStringLiteral("Firma/Daten"));
         },
         false, false},
        {"a folder further up swapped for another",
         [&] {
             QDir(root).mkpath(QStringLiteral("Neu/Daten"));
             write(QStringLiteral("Neu/Daten/atrpos.db"), "neu");
             move(QStringLiteral("Firma"), QStringLiteral("Alt"));
             move(QStringLiteral("Neu"), QStringLiteral("Firma"));
         },
         false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.change);
        const os::FileLook before = os::lookAtFile(at(file));
        if (before.generation == 0)
            GTEST_SKIP() << "the file system of the temporary folder does not report changes";
        EXPECT_TRUE(os::lookAtFile(at(file)).sameUnchangedFile(before));
        // As a kept connection does: a file replaced stays alive, unlinked.
        QFile held(at(file));
        ASSERT_TRUE(held.open(QIODevice::ReadOnly));
        c.apply();
        const os::FileLook after = os::lookAtFile(at(file));
        ASSERT_TRUE(after.identity);
        EXPECT_EQ(after.identity == before.identity, c.sameFile);
        EXPECT_EQ(after.identity, os::identifyFile(at(file)));
        EXPECT_EQ(after.sameUnchangedFile(before), c.unchanged);
    }
}

TEST_F(FileWatchTest, DeletedFilesAndPathsThroughLinksAreLookedAtEveryTime)
{
    const QString file = at(QStringLiteral("Firma/Daten/atrpos.db"));
    os::lookAtFile(file);
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_FALSE(os::lookAtFile(file).identity);
    write(QStringLiteral("Firma/Daten/atrpos.db"), "neu");
    EXPECT_EQ(os::lookAtFile(file).identity, os::identifyFile(file));

    ASSERT_TRUE(QFile::link(at(QStringLiteral("Firma")), at(QStringLiteral("Verweis"))));
    const QString linked = at(QStringLiteral("Verweis/Daten/atrpos.db"));
    const os::FileLook first = os::lookAtFile(linked);
    EXPECT_EQ(first.identity, os::identifyFile(file));
    EXPECT_EQ(first.generation, 0u);
    EXPECT_FALSE(os::lookAtFile(linked).sameUnchangedFile(first));
}
