#pragma once

#include "app/printroad/PrintJob.h"
#include "app/printroad/PrintLoop.h"
#include "app/printroad/ReportData.h"
#include "app/printroad/ReportFields.h"

namespace printroad {

// Everything between the form row the user picked and the report engine,
// as the main window holds it: the driver (`job.Tintlen()`), the designer
// (`loop.Layout()`) and the report data behind them.
struct PrintRoad
{
    PrintRoad(PrintWindow &window, QList<ModuleBranch> branches)
        : fields(data, std::move(branches)), loop(fields, window), job(loop, fields, window)
    {}

    ReportData data;
    ReportFields fields;
    PrintLoop loop;
    PrintJob job;
};

} // namespace printroad
