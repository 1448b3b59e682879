#include "app/Utils.h"

#include "demo/tables/DemoTables.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Exceptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class UtilsTableTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QTemporaryDir folder;
};

}

TEST_F(UtilsTableTest, OpenTableHandsOverAnOpenTableOrNothingWhenItIsMissing)
{
    demo::writeTable(QStringLiteral("Formular.db"), folder.path());
    demo::writeTable(QStringLiteral("laender.db"), folder.path(), demo::Rows());
    std::unique_ptr<TTable> table;
    EXPECT_TRUE(OpenTable(table, folder.path(), QStringLiteral("FORMULAR.DB")));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->Active());
    EXPECT_FALSE(IsTableEmpty(table.get()));
    ASSERT_TRUE(OpenTable(table, folder.path(), QStringLiteral("laender")));
    EXPECT_TRUE(IsTableEmpty(table.get()));

    std::unique_ptr<TTable> missing;
    EXPECT_THROW(OpenTable(missing, folder.path(), QStringLiteral("fehlt.db")), EDatabaseError);
    EXPECT_EQ(missing, nullptr);
}

TEST_F(UtilsTableTest, AliasPathsComeFromTheSession)
{
    // An alias file of the test's own, so the user's aliases play no part.
    const QString savedConfig = Session()->ConfigFile();
    Session()->SetConfigFile(folder.filePath(QStringLiteral("aliases.ini")));
    Session()->AddStandardAlias(QStringLiteral("zvtest"), folder.path(), QStringLiteral("STANDARD"));
    EXPECT_EQ(GetAliasPath(QStringLiteral("ZVTEST")), folder.path());
    Session()->DeleteAlias(QStringLiteral("zvtest"));
    EXPECT_THROW(GetAliasPath(QStringLiteral("zvtest")), EDatabaseError);
    Session()->SetConfigFile(savedConfig);
}
