#include "demo/install/DemoInstallation.h"
#include "demo/tables/DemoTables.h"
#include "demo/tables/TableCatalog.h"
#include "platform/os/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A writer killed at any moment must leave the old table or the new one:
// the table's name never stands empty while it is rewritten.
TEST(HostileInstall, ATableBeingRewrittenIsNeverMissing)
{
    QTemporaryDir dir;
    const QString table = demo::tableCatalog().first().fileName;
    const QString path = demo::writeTable(table, dir.path());
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int i = 0; i < 40; ++i)
            demo::writeTable(table, dir.path());
        done = true;
    });
    int missing = 0;
    while (!done) {
        if (!QFileInfo::exists(path))
            ++missing;
    }
    writer.join();
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{table});
}

TEST(HostileInstall, AnInstallationPathOutsideTheCodePageIsBuiltCompletelyAndWrittenAsUtf8)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("Łódź"));
    demo::buildInstallation(root, QString());
    const QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_TRUE(folders.contains(QStringLiteral("daten")) && folders.contains(QStringLiteral("formulare")));
    for (const QString &folder : folders)
        EXPECT_FALSE(folder.startsWith(QLatin1Char('.'))) << folder.toStdString();
    const TIniFile ini(root + QStringLiteral("/programm/Tintlen.ini"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Init"), QStringLiteral("DatenPfad"), QString()),
              root + QStringLiteral("/daten"));
    EXPECT_FALSE(QDir(root + QStringLiteral("/daten")).isEmpty(QDir::Files));
    // Built again over itself, it replaces each folder whole.
    demo::buildInstallation(root, QString());
    EXPECT_EQ(QDir(root).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), folders);
}

} // namespace
