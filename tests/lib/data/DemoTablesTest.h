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
        demo::writeTables(s_demo->path());
    }
    static void TearDownTestSuite() { s_demo.reset(); }
    static QString folder() { return s_demo->path(); }

private:
    static inline std::unique_ptr<QTemporaryDir> s_demo;
};
