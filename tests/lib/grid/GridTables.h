#pragma once

#include "lib/data/Qkdatsrc.h"
#include "lib/data/Qktable.h"
#include "lib/grid/qkDBGrid.h"
#include "support/RecordingUiServices.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A shown grid over the demo's order positions (60 rows) in a library table.
class GridTables : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    void openGrid();
    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(int col, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void settle();
    // Types into whatever has the focus, as the user does.
    void typeText(const QString &text);
    // The grid column of a field.
    int colOf(const QString &fieldName) const;
    QImage shot();
    // A fresh table object over the file of the grid's table.
    std::unique_ptr<TqkTable> reread() const;
    // Share of the cell's pixels that are neither the background at its
    // top-left corner nor near it: text or a drawn mark.
    double inkIn(const QImage &image, const QRect &rect) const;

    QTemporaryDir dir;
    ui::ScopedRecordingUiServices services;
    std::unique_ptr<TqkTable> positions;
    std::unique_ptr<TqkDataSource> source;
    std::unique_ptr<TqkDBGrid> grid;
};
