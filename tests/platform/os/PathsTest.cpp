#include "platform/os/Paths.h"
#include "platform/os/FileMask.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PathsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = dir.path();
        QDir(root).mkpath("Daten/Formulare");
        for (const char *name :
             {"Daten/Formular.DB", "Daten/Formulare/Rechnung.lst", "Daten/Formulare/rechnung.LBL",
              "Daten/Formulare/Rechnung.txt", "Daten/Formulare/Angebot.lst", "Daten/Formulare/README"}) {
            QFile file(root + "/" + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        QDir(root).mkpath("Daten/Formulare/Rechnung.lxx");
    }

    QTemporaryDir dir;
    QString root;
};

} // namespace

TEST_F(PathsTest, ResolvesEachComponentWithoutRegardToCase)
{
    EXPECT_EQ(os::resolvePath(root + "\\DATEN\\formular.db"), root + "/Daten/Formular.DB");
    EXPECT_EQ(os::resolvePath(root + "/daten/FORMULARE/"), root + "/Daten/Formulare/");
    EXPECT_EQ(os::resolvePath(root + "/daten/neu/Datei.TXT"), root + "/Daten/neu/Datei.TXT");
    EXPECT_EQ(os::resolvePath(root + "//Daten//Formular.DB"), root + "/Daten/Formular.DB");
    EXPECT_TRUE(os::fileExists(root + "\\daten\\FORMULARE\\angebot.LST"));
    EXPECT_FALSE(os::fileExists(root + "\\daten\\FORMULARE"));
    EXPECT_TRUE(os::directoryExists(root + "\\daten\\FORMULARE\\"));
    EXPECT_FALSE(os::directoryExists(root + "\\daten\\formular.db"));
    EXPECT_FALSE(os::fileExists(""));
}

TEST_F(PathsTest, TrailingSeparatorsAndFolders)
{
    EXPECT_EQ(os::includeTrailingSeparator("/srv/daten"), "/srv/daten/");
    EXPECT_EQ(os::includeTrailingSeparator("C:\\Daten"), "C:\\Daten\\");
    EXPECT_EQ(os::includeTrailingSeparator("C:\\Daten\\"), "C:\\Daten\\");
    EXPECT_EQ(os::excludeTrailingSeparator("C:\\Daten\\"), "C:\\Daten");
    EXPECT_EQ(os::excludeTrailingSeparator("/srv/daten//"), "/srv/daten/");
    EXPECT_EQ(os::excludeTrailingSeparator("/"), "/");
    EXPECT_TRUE(os::tempFolder().endsWith('/'));
    EXPECT_EQ(os::executableFolder(), QCoreApplication::applicationDirPath());
    os::setExecutableFolder(root + "/");
    EXPECT_EQ(os::executableFolder(), root);
    os::setExecutableFolder(QString());
}

TEST_F(PathsTest, MasksMatchLikeWindows)
{
    EXPECT_TRUE(os::matchesMask("Rechnung.lst", "rechnung.l*"));
    EXPECT_TRUE(os::matchesMask("Rechnung.lst", "*.LST"));
    EXPECT_TRUE(os::matchesMask("Rechnung.lst", "R?chnung.*"));
    EXPECT_TRUE(os::matchesMask("README", "*.*"));
    EXPECT_TRUE(os::matchesMask("README", "readme."));
    EXPECT_TRUE(os::matchesMask("a.b.c", "*.c"));
    EXPECT_FALSE(os::matchesMask("Rechnung.lst", "Rechnung.l?"));
    EXPECT_FALSE(os::matchesMask("Rechnung.lst", "*.txt"));
    EXPECT_FALSE(os::matchesMask("Rechnung.lst", "Rechnung"));
    EXPECT_TRUE(os::matchesMask("Übersicht.txt", "übersicht.*"));
}

TEST_F(PathsTest, FindFilesListsMatchingFilesOnlySorted)
{
    const QString folder = root + "/Daten/Formulare/";
    EXPECT_EQ(os::findFiles(root + "\\DATEN\\formulare\\rechnung.l*"),
              QStringList({folder + "rechnung.LBL", folder + "Rechnung.lst"}));
    EXPECT_EQ(os::findFiles(root + "/Daten/Formulare/*.*").size(), 5);
    EXPECT_TRUE(os::findFiles(root + "/Fehlt/*.*").isEmpty());
    EXPECT_TRUE(os::findFiles(root + "/Daten/Formulare/*.xyz").isEmpty());
}
