#include "FuzzInput.h"

#include "platform/report/Definitions.h"
#include "platform/report/Expression.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/api/ReportCodes.h"

namespace {

const report::DefinitionScope &scope()
{
    static report::Definitions variables;
    static report::Definitions fields;
    static const report::DefinitionScope names = [] {
        variables.define("Menge", "3", report::LL_NUMERIC);
        variables.define("Datum", "45351", report::LL_NUMERIC);
        fields.define("Name", "Müller", report::LL_TEXT);
        return report::DefinitionScope(&variables, &fields);
    }();
    return names;
}

void evaluateAll(const report::Layout &layout)
{
    for (const report::LayoutObject &object : layout.objects) {
        for (const report::Expression &line : object.lines)
            line.evaluate(scope());
        object.expression.evaluate(scope());
    }
    if (!layout.table)
        return;
    for (const report::TableRow &row : layout.table->rows) {
        row.condition.evaluate(scope());
        for (const report::TableColumn &column : row.columns)
            column.expression.evaluate(scope());
    }
}

}

// A layout file as read from disk, every expression evaluated and the
// layout written and read again; also the whole input as one expression.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    report::Expression(text).evaluate(scope());
    report::Layout layout;
    if (report::layoutFromText(text, layout) != 0)
        return 0;
    evaluateAll(layout);
    report::Layout again;
    if (report::layoutFromText(report::layoutToText(layout), again) != 0)
        __builtin_trap();
    layout.sheet.labelsPerSheet();
    return 0;
}
