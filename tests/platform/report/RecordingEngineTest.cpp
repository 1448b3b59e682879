#include "support/RecordingEngine.h"
#include "platform/report/api/ReportApi.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

class RecordingEngineTest : public ::testing::Test
{
protected:
    RecordingEngine fake;
    void SetUp() override { setEngine(&fake); }
    void TearDown() override { setEngine(nullptr); }
};

}

TEST_F(RecordingEngineTest, RecordsCallsValuesAndScriptedResults)
{
    const int job = LlJobOpen(0);
    EXPECT_EQ(job, 1);
    LlDefineVariableExt(job, "Seite", "1", LL_NUMERIC, "");
    LlDefineField(job, "Bezeichnung", "Ordner");
    fake.script("LlPrintFields", {LL_WRN_REPEAT_DATA});
    EXPECT_EQ(LlPrintWithBoxStart(job, LL_PROJECT_LIST, "rechnung.lst", LL_PRINT_PREVIEW, 1, nullptr, "Rechnung"), 0);
    EXPECT_EQ(LlPrint(job), 0);
    EXPECT_EQ(LlPrintFields(job), LL_WRN_REPEAT_DATA);
    EXPECT_EQ(LlPrintFields(job), 0);
    EXPECT_EQ(LlPrintGetCurrentPage(job), 1);
    LlPrintSetOption(job, LL_PRNOPT_COPIES, 3);
    EXPECT_EQ(LlPrintGetOption(job, LL_PRNOPT_COPIES), 3);
    EXPECT_EQ(LlPrintGetOption(job, LL_PRNOPT_LASTPAGE), 9999);
    QString printer, port;
    EXPECT_EQ(LlPrintGetPrinterInfo(job, printer, port), 0);
    EXPECT_EQ(printer, "Testdrucker");
    LlPrintEnd(job, 0);
    LlJobClose(job);

    EXPECT_EQ(fake.count("LlPrintFields"), 2);
    const RecordingEngine::Call *start = fake.last("LlPrintWithBoxStart");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->args.at(2).toString(), "rechnung.lst");
    EXPECT_EQ(start->args.at(3).toInt(), LL_PRINT_PREVIEW);
    const RecordingEngine::Call *print = fake.last("LlPrintFields");
    EXPECT_EQ(print->values.value("Bezeichnung"), "Ordner");
    EXPECT_EQ(print->values.value("Seite"), "1");
    EXPECT_TRUE(fake.variables.isEmpty());
    EXPECT_EQ(fake.callNames().last(), "LlJobClose");
}
