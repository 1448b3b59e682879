#include "platform/runtime/Exceptions.h"
#include "platform/runtime/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

namespace {

QString messageOf(const std::function<void()> &access)
{
    try {
        access();
    } catch (const EInOutError &error) {
        return error.Message();
    }
    return QStringLiteral("(kein Fehler)");
}

void makeReadOnly(const QString &path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
}

}

// The message box shows these sentences as they are: German, with the file
// and the reason, never Qt's English error text.
TEST(FileErrors, FailedReadsAndWritesSayWhichFileAndWhyInGerman)
{
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath("fehlt/Tintlen.ini");
    const QString folderInPlace = dir.filePath("Ordner.ini");
    QDir(dir.path()).mkdir("Ordner.ini");

    EXPECT_EQ(messageOf([&] { WriteTextFile(missingFolder, "x", TextEncoding::Utf8); }),
              "Die Datei " + missingFolder + " kann nicht geschrieben werden, weil es den Ordner "
                  + dir.filePath("fehlt") + " nicht gibt.");
    EXPECT_EQ(messageOf([&] { WriteTextFile(folderInPlace, "x", TextEncoding::Utf8); }),
              "Die Datei " + folderInPlace + " kann nicht geschrieben werden, weil an ihrer Stelle ein Ordner steht.");
    EXPECT_EQ(messageOf([&] { ReadTextFile(missingFolder); }),
              "Die Datei " + missingFolder + " kann nicht gelesen werden, weil es sie nicht gibt.");
    EXPECT_EQ(messageOf([&] { ReadTextFile(folderInPlace); }),
              "Die Datei " + folderInPlace + " kann nicht gelesen werden, weil an ihrer Stelle ein Ordner steht.");
}

TEST(FileErrors, AReadOnlyFileOrFolderIsNamedAsTheReason)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser may write read-only files";
    QTemporaryDir dir;
    const QString locked = dir.filePath("Tintlen.ini");
    QFile file(locked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    makeReadOnly(locked);
    EXPECT_EQ(messageOf([&] { WriteTextFile(locked, "x", TextEncoding::Utf8); }),
              "Die Datei " + locked + " kann nicht geschrieben werden, weil sie schreibgeschützt ist.");

    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
    makeReadOnly(dir.path());
    EXPECT_EQ(messageOf([&] { WriteTextFile(locked, "x", TextEncoding::Utf8); }),
              "Die Datei " + locked + " kann nicht geschrieben werden, weil im Ordner " + dir.path()
                  + " keine Dateien angelegt werden dürfen.");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
