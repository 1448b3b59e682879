#include "demo/layouts/ModuleLayouts.h"
#include "app/Kopieren.h"
#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/DemoArticles.h"
#include "demo/tables/FormRows.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/TextMetrics.h"

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
        const QString file = demo::formRowFile(row);
        if (file.endsWith(".frm"))
            continue;
        Layout layout;
        ASSERT_EQ(loadLayout(QDir(dir.path()).filePath(file), layout), 0) << file.toStdString();
        EXPECT_TRUE(layout.firstExpressionError().isEmpty())
            << file.toStdString() << layout.firstExpressionError().toStdString();
        EXPECT_EQ(layout.type == Layout::Type::Label, file.endsWith(".lbl")) << file.toStdString();
        EXPECT_TRUE(layout.hasPrintableObjects()) << file.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 57);
}

// One rule for every row: the demo's rows hold the file name as the
// form-entry dialog stores what the user types.
TEST(ModuleLayouts, DemoRowsStoreFileNamesAsTheFormDialogDoes)
{
    for (const demo::Row &row : demo::formRows()) {
        const QString stored = row.value("DateiErsteSeite").toString();
        EXPECT_EQ(FormFileNamePart(stored), stored);
        EXPECT_EQ(FormFileNamePart(demo::formRowFile(row)), stored);
    }
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

namespace {

// A cell keeps a millimetre free on either side of its text.
bool fitsOneLine(const QString &text, const FontSpec &font, double cellWidth)
{
    return textWidthMm(text, font) <= cellWidth - 2;
}

QString literalOf(const Expression &expression)
{
    const QString source = expression.source();
    if (source.size() < 2 || !source.startsWith('"') || !source.endsWith('"') || source.count('"') != 2)
        return QString();
    return source.mid(1, source.size() - 2);
}

}

// Headings and the totals' labels are printed on one line and cut at the
// cell's edge; so is the unit in the article list.
TEST(ModuleLayouts, HeadingsTotalLabelsAndArticleUnitsAreNotCut)
{
    for (const auto &[name, layout] : demo::moduleLayouts()) {
        if (!layout.table)
            continue;
        for (const TableRow &row : layout.table->rows) {
            for (const TableColumn &column : row.columns) {
                const QString text = literalOf(column.expression);
                if (!text.isEmpty()) {
                    EXPECT_TRUE(fitsOneLine(text, column.font, column.width))
                        << name.toStdString() << ": " << text.toStdString();
                }
            }
        }
    }
    for (const auto &[name, layout] : demo::moduleLayouts()) {
        if (name != QLatin1String("Artikel_Liste.lst"))
            continue;
        const TableRow *data = layout.table->rowsOf(RowPart::Data).first();
        const auto unit = std::find_if(data->columns.begin(), data->columns.end(),
                                       [](const TableColumn &c) { return c.expression.source() == "Einheit"; });
        ASSERT_NE(unit, data->columns.end());
        for (const demo::DemoArticle &article : demo::demoArticles())
            EXPECT_TRUE(fitsOneLine(article.unit, unit->font, unit->width)) << article.unit.toStdString();
    }
}
