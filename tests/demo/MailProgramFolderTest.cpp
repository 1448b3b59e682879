#include "demo/tables/MailProgramFolder.h"
#include "demo/tables/MailProgramData.h"
#include "platform/os/IniFile.h"
#include "platform/os/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace demo;

namespace {

// Points the registry stand-in at a file of the test's own for its lifetime.
class PrivateRegistry
{
public:
    PrivateRegistry()
        : m_previous(qEnvironmentVariable("TINTLEN_REGISTRY")),
          m_hadPrevious(qEnvironmentVariableIsSet("TINTLEN_REGISTRY"))
    {
        qputenv("TINTLEN_REGISTRY", QDir(m_dir.path()).filePath("registry.ini").toUtf8());
    }
    ~PrivateRegistry()
    {
        if (m_hadPrevious)
            qputenv("TINTLEN_REGISTRY", m_previous.toUtf8());
        else
            qunsetenv("TINTLEN_REGISTRY");
    }
    QString path() const { return QDir(m_dir.path()).filePath("registry.ini"); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
    bool m_hadPrevious;
};

QString registeredFolder()
{
    TRegistry registry;
    registry.SetRootKey(TRegistry::HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly("Software\\Velmora\\Kuvertalia\\1.0"))
        return QString();
    return registry.ReadString("Pfad");
}

}

TEST(DemoMailProgramFolder, IniFileNamesEveryFolderThatExists)
{
    QTemporaryDir dir;
    const MailProgramPaths paths = mailProgramPaths(QDir(dir.path()).filePath("kuvertalia"));
    writeMailProgramFiles(paths, false);
    TIniFile ini(QDir(paths.root).filePath("kuvertalia.ini"));
    const QList<QPair<QString, QString>> expected = {
        {"Path/Data", paths.data},         {"Path/User", paths.user},       {"Path/Temp", paths.temp},
        {"Path/Forms", paths.forms},       {"QRBPath/Data", paths.mailbox}, {"QRBPath/Download", paths.download},
        {"QRBPath/Address", paths.address}};
    for (const auto &[key, folder] : expected) {
        const QStringList parts = key.split('/');
        EXPECT_EQ(ini.ReadString(parts.at(0), parts.at(1), ""), folder) << key.toStdString();
        EXPECT_TRUE(QDir(folder).exists()) << key.toStdString();
    }
    EXPECT_NE(paths.data, paths.mailbox);
    EXPECT_EQ(TIniFile(QDir(paths.user).filePath("frm.ini")).ReadString("User", "Lastuser", ""), demoMailUser());
}

TEST(DemoMailProgramFolder, RegistersOnlyWhenAsked)
{
    PrivateRegistry registry;
    QTemporaryDir dir;
    const MailProgramPaths paths = mailProgramPaths(dir.path());
    writeMailProgramFiles(paths, false);
    EXPECT_EQ(registeredFolder(), QString());
    writeMailProgramFiles(paths, true);
    EXPECT_EQ(registeredFolder(), paths.root);
    EXPECT_TRUE(QFile::exists(registry.path()));
}
