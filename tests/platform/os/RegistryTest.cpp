#include "platform/os/Registry.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RegistryTest : public testing::Test
{
protected:
    void SetUp() override { qputenv("TINTLEN_REGISTRY", dir.filePath("sub/registry.ini").toUtf8()); }
    void TearDown() override { qunsetenv("TINTLEN_REGISTRY"); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(RegistryTest, StoresKeysAsSectionsOfTheConfiguredFile)
{
    const QString command = QStringLiteral("\"/usr/bin/mailer\" -compose \"%1\"");
    {
        TRegistry reg;
        reg.SetRootKey(TRegistry::HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reg.OpenKey("mailto\\shell\\open\\command", true));
        reg.WriteString("", command);
        reg.WriteString("Name", "Mailer");
    }
    QFile file(dir.filePath("sub/registry.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("[HKEY_CLASSES_ROOT\\mailto\\shell\\open\\command]\r\n@="));

    TRegistry reg;
    reg.SetRootKey(TRegistry::HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\MAILTO\\Shell\\Open\\Command"));
    EXPECT_EQ(reg.ReadString(""), command);
    EXPECT_EQ(reg.ReadString("name"), "Mailer");
    EXPECT_TRUE(reg.ValueExists(""));
    EXPECT_FALSE(reg.ValueExists("Fehlt"));
    EXPECT_EQ(reg.ReadString("Fehlt"), "");
    EXPECT_THROW(reg.WriteString("x", "y"), EInvalidOperation);
}

TEST_F(RegistryTest, KeysExistOnlyWhereCreatedAndBelowRoots)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Kuvertalia", false));
    EXPECT_FALSE(reg.KeyExists("Software"));
    reg.SetRootKey(TRegistry::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software\\Kuvertalia\\Mail", true));
    EXPECT_TRUE(reg.KeyExists("\\Software"));
    EXPECT_TRUE(reg.KeyExists("\\software\\kuvertalia"));
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("Software", false));
    ASSERT_TRUE(reg.OpenKey("Kuvertalia", false));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Kuvertalia");
    reg.SetRootKey(TRegistry::HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.KeyExists("Software\\Kuvertalia"));
}
