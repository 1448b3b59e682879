#include "demo/layouts/DemoLayouts.h"
#include "demo/layouts/ModuleLayouts.h"
#include "demo/tables/FormRows.h"
#include "platform/report/LayoutFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace report;

TEST(ModuleLayouts, EveryFormRowFindsItsLayoutAndItReadsBackWithoutErrors)
{
    QTemporaryDir dir;
    demo::writeLayouts(dir.path());
    int checked = 0;
    for (const demo::Row &row : demo::formRows()) {
        const QString file = row.value("DateiErsteSeite").toString();
        if (file.endsWith(".frm"))
            continue;
        Layout layout;
        ASSERT_EQ(loadLayout(QDir(dir.path()).filePath(file), layout), 0) << file.toStdString();
        EXPECT_TRUE(layout.firstExpressionError().isEmpty()) << file.toStdString() << layout.firstExpressionError().toStdString();
        EXPECT_EQ(layout.type == Layout::Type::Label, file.endsWith(".lbl")) << file.toStdString();
        EXPECT_TRUE(layout.hasPrintableObjects()) << file.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 57);
}

TEST(ModuleLayouts, TablesFitBetweenThePageMargins)
{
    for (const auto &[name, layout] : demo::moduleLayouts()) {
        if (!layout.table)
            continue;
        const double right = layout.table->rect.left() + layout.table->rect.width();
        EXPECT_LE(right, layout.pageSize.width() - layout.marginRight + 0.01) << name.toStdString();
        for (const TableRow &row : layout.table->rows) {
            double width = 0;
            for (const TableColumn &column : row.columns)
                width += column.width;
            EXPECT_LE(width, layout.table->rect.width() + 0.01) << name.toStdString();
        }
    }
}
