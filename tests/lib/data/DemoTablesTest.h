#pragma once

#include "demo/tables/DemoTables.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A suite that reads the demo tables, written once for the whole suite.
class DemoTablesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_demo = std::make_unique<QTemporaryDir>();
        demo::writeTables(folder());
    }
    static void TearDownTestSuite() { s_demo.reset(); }
    // A folder below the temporary one: the demo puts its user and mail
    // folders beside the data folder.
    static QString folder() { return s_demo->filePath(QStringLiteral("daten")); }

private:
    static inline std::unique_ptr<QTemporaryDir> s_demo;
};
