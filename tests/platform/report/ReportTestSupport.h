#pragma once

#include "platform/report/Layout.h"
#include "platform/report/PageSink.h"
#include "platform/report/RealEngine.h"
#include "support/FakePrinterService.h"
#include "support/RecordingSink.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Writes a complete preview file of one empty 100 mm page.
bool writeOnePagePreview(const QString &path);

// A real engine installed behind the report calls whose output goes to a
// recording (or wherever the test points the sink factory).
class EngineFixture : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    std::unique_ptr<os::FakePrinterService> printers;
    report::RealEngine engine;
    std::shared_ptr<report::RecordingSink> recording = std::make_shared<report::RecordingSink>();
    int sinksMade = 0;

    void SetUp() override;
    void TearDown() override;

    QString writeLayout(const QString &name, const report::Layout &layout);
    // A list: table at y 50..100 with a 10 mm header, 10 mm lines, a 10 mm
    // page footer and two 10 mm end-footer lines; three lines fit a page.
    static report::Layout invoiceLayout();
    // The print manager's loop over `amounts`: fields "Bezeichnung", "Betrag"
    // and the running "Übertrag", repeating a line after -998.
    QList<int> printList(int job, const QList<double> &amounts);
};
